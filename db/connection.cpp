#include "db/connection.h"

namespace corvane::db {

int Query::fieldIndex(const QString& name) const
{
    for (int i = 0; i < fieldCount(); ++i)
        if (fieldName(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QString Query::value(const QString& name) const
{
    const int i = fieldIndex(name);
    return i < 0 ? QString() : value(i);
}

int Rows::fieldIndex(const QString& name) const
{
    for (int i = 0; i < fields.size(); ++i)
        if (fields.at(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QString Rows::value(int row, const QString& name) const
{
    const int i = fieldIndex(name);
    return i < 0 ? QString() : rows.at(row).value(i);
}

Result<Rows> Connection::queryAll(const QString& sql)
{
    auto q = query(sql);
    if (!q)
        return q.error();
    Rows rows;
    for (int i = 0; i < (*q)->fieldCount(); ++i)
        rows.fields << (*q)->fieldName(i);
    for (;;) {
        auto more = (*q)->next();
        if (!more)
            return more.error();
        if (!*more)
            break;
        QStringList row;
        row.reserve(rows.fields.size());
        for (int i = 0; i < rows.fields.size(); ++i)
            row << (*q)->value(i);
        rows.rows.append(std::move(row));
    }
    return rows;
}

Result<std::unique_ptr<Connection>> openConnection(const ConnectionFactory& connect,
                                                   const QString& connectionString)
{
    std::unique_ptr<Connection> connection = connect ? connect() : nullptr;
    if (!connection)
        return Error::failure(QStringLiteral("No database connection is available."));
    connection->setLoginTimeout(DefaultLoginTimeout);
    if (Status opened = connection->open(connectionString); !opened)
        return opened.error();
    return connection;
}

} // namespace corvane::db

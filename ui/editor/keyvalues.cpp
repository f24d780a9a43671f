#include "ui/editor/keyvalues.h"

#include "catalogue/sqlname.h"
#include "catalogue/textconv.h"

#include <QRegularExpression>

#include <optional>

namespace corvane::editor {

QString keyValueQuery(const TColumnRec& slot)
{
    return QStringLiteral("select ") + quoteName(slot.PK_column) + QStringLiteral(" from ")
        + quoteTable(slot.PK_schema, slot.PK_table);
}

Result<QStringList> readKeyValues(const db::ConnectionFactory& connect,
                                  const QString& connectionString, const TColumnRec& slot,
                                  db::CallControl* control)
{
    auto opened = db::openConnection(connect, connectionString);
    if (!opened)
        return opened.error();
    const std::unique_ptr<db::Connection> connection = std::move(*opened);
    QStringList values;
    {
        std::optional<db::CallControl::Watch> watch;
        if (control)
            watch.emplace(*control, *connection);
        Result<std::unique_ptr<db::Query>> query = connection->query(keyValueQuery(slot));
        if (!query)
            return query.error();
        db::Query& rows = **query;
        // By name, as the column may come back under another letter case.
        int field = rows.fieldIndex(slot.PK_column);
        if (field < 0)
            field = 0;
        for (;;) {
            // A list nobody waits for any more is not read to its end.
            if (control && control->isCancelled())
                return Error::failure(QString());
            const Result<bool> more = rows.next();
            if (!more)
                return more.error();
            if (!*more)
                break;
            values.append(rows.value(field));
        }
    }
    connection->close();
    return values;
}

Result<QDate> keyValueDate(const QString& text)
{
    Result<QDate> date = TextToDate(text);
    if (date)
        return date;
    static const QRegularExpression serverForm(
        QStringLiteral(R"(^\s*(\d{4}-\d{2}-\d{2})(?:[ T]\d{2}:\d{2}(?::\d{2}(?:\.\d{1,7})?)?)?\s*$)"));
    const QRegularExpressionMatch match = serverForm.match(text);
    if (match.hasMatch()) {
        const QDate server = QDate::fromString(match.captured(1), Qt::ISODate);
        if (server.isValid())
            return server;
    }
    return date;
}

} // namespace corvane::editor

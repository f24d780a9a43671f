#include "tests/support/fakeconnection.h"

namespace corvane::test {

namespace {

class FakeQuery final : public db::Query
{
public:
    explicit FakeQuery(db::Rows rows) : m_rows(std::move(rows)) {}
    int fieldCount() const override { return m_rows.fields.size(); }
    QString fieldName(int index) const override { return m_rows.fields.value(index); }
    Result<bool> next() override { return ++m_row < m_rows.rows.size(); }
    QString value(int index) const override { return m_rows.rows.value(m_row).value(index); }

private:
    db::Rows m_rows;
    qsizetype m_row = -1;
};

class FakeConnection final : public db::Connection
{
public:
    explicit FakeConnection(FakeServer& server) : m_server(server) {}
    ~FakeConnection() override { close(); }

    Status open(const QString& connectionString) override
    {
        close();
        m_server.opened << connectionString;
        if (!m_server.refuseOpen.isEmpty())
            return Error::failure(m_server.refuseOpen);
        m_open = true;
        ++m_server.openConnections;
        return {};
    }
    Status open(const QString& connectionString, const QString&, const QString&) override
    {
        return open(connectionString);
    }
    void close() override
    {
        if (m_open)
            --m_server.openConnections;
        m_open = false;
    }
    bool isOpen() const override { return m_open; }
    Result<QString> databaseName() override
    {
        if (!m_open)
            return Error::failure(QStringLiteral("Connection is not open"));
        return m_server.databaseName;
    }
    Result<std::unique_ptr<db::Query>> query(const QString& sql) override
    {
        if (!m_open)
            return Error::failure(QStringLiteral("Connection is not open"));
        m_server.sent << sql;
        const FakeServer::Rule* rule = match(sql);
        if (rule && !rule->error.isEmpty())
            return Error::failure(rule->error);
        return std::unique_ptr<db::Query>(new FakeQuery(rule ? rule->rows : db::Rows{}));
    }
    Status execute(const QString& sql) override
    {
        if (!m_open)
            return Error::failure(QStringLiteral("Connection is not open"));
        m_server.sent << sql;
        const FakeServer::Rule* rule = match(sql);
        if (rule && !rule->error.isEmpty())
            return Error::failure(rule->error);
        return {};
    }
    void setLoginTimeout(int) override {}
    void setCommandTimeout(int) override {}

private:
    const FakeServer::Rule* match(const QString& sql) const
    {
        for (const FakeServer::Rule& rule : m_server.rules)
            if (sql.contains(rule.contains))
                return &rule;
        return nullptr;
    }

    FakeServer& m_server;
    bool m_open = false;
};

} // namespace

std::unique_ptr<db::Connection> FakeServer::connect()
{
    return std::make_unique<FakeConnection>(*this);
}

db::ConnectionFactory FakeServer::factory()
{
    return [this] { return connect(); };
}

db::Rows makeRows(const QStringList& fields, const QList<QStringList>& rows)
{
    db::Rows out;
    out.fields = fields;
    for (QStringList row : rows) {
        for (QString& value : row)
            if (value == QStringLiteral("\\N"))
                value.clear();
        out.rows.append(row);
    }
    return out;
}

} // namespace corvane::test

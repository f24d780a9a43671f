#include "db/odbcconnection.h"

#include "db/odbcdiag.h"

#include <QSet>

#include <mutex>

#include <vector>

namespace corvane::db {

using namespace odbc;

namespace {

class OdbcQuery;

// The handles of one open connection. Queries share it so that closing the
// connection can free their statements first: ODBC frees them itself on
// disconnect, and a query freeing its handle afterwards would free it twice.
struct Link
{
    SQLHENV env = SQL_NULL_HENV;
    SQLHDBC dbc = SQL_NULL_HDBC;
    bool connected = false;
    QSet<OdbcQuery*> queries;

    ~Link() { release(); }
    void release();
};

class OdbcQuery final : public Query
{
public:
    OdbcQuery(std::shared_ptr<Link> link, SQLHSTMT stmt) : m_link(std::move(link)), m_stmt(stmt)
    {
        m_link->queries.insert(this);
    }
    ~OdbcQuery() override
    {
        m_link->queries.remove(this);
        release();
    }

    void release()
    {
        if (m_stmt != SQL_NULL_HSTMT)
            SQLFreeHandle(SQL_HANDLE_STMT, m_stmt);
        m_stmt = SQL_NULL_HSTMT;
    }

    // Reads the field names of the batch's first result with fields: the row
    // counts of statements before it ("update ...; select ...") are passed over.
    Status describe()
    {
        SQLSMALLINT count = 0;
        for (;;) {
            if (!succeeded(SQLNumResultCols(m_stmt, &count)))
                return diagnostics(SQL_HANDLE_STMT, m_stmt, QStringLiteral("The result could not be read."));
            if (count > 0)
                break;
            const SQLRETURN rc = SQLMoreResults(m_stmt);
            if (rc == SQL_NO_DATA)
                return {};
            if (!succeeded(rc))
                return diagnostics(SQL_HANDLE_STMT, m_stmt, QStringLiteral("The result could not be read."));
        }
        for (SQLSMALLINT i = 1; i <= count; ++i) {
            std::vector<SQLWCHAR> name(256);
            SQLSMALLINT length = 0, type = 0, digits = 0, nullable = 0;
            SQLULEN size = 0;
            SQLRETURN rc = SQLDescribeColW(m_stmt, i, name.data(), SQLSMALLINT(name.size()), &length,
                                           &type, &size, &digits, &nullable);
            if (succeeded(rc) && length >= SQLSMALLINT(name.size())) {
                name.resize(size_t(length) + 1);
                rc = SQLDescribeColW(m_stmt, i, name.data(), SQLSMALLINT(name.size()), &length,
                                     &type, &size, &digits, &nullable);
            }
            if (!succeeded(rc))
                return diagnostics(SQL_HANDLE_STMT, m_stmt,
                                   QStringLiteral("The result could not be read."));
            m_names << fromWide(name.data(), length);
        }
        return {};
    }

    int fieldCount() const override { return int(m_names.size()); }
    QString fieldName(int index) const override { return m_names.value(index); }
    QString value(int index) const override { return m_values.value(index); }
    bool isNull(int index) const override { return m_nulls.value(index); }

    Result<bool> next() override
    {
        m_values.clear();
        m_nulls.clear();
        if (m_stmt == SQL_NULL_HSTMT)
            return Error::failure(QStringLiteral("The connection was closed."));
        if (m_names.isEmpty())
            return false;
        const SQLRETURN rc = SQLFetch(m_stmt);
        if (rc == SQL_NO_DATA)
            return false;
        if (!succeeded(rc))
            return diagnostics(SQL_HANDLE_STMT, m_stmt, QStringLiteral("The next row could not be read."));
        for (int i = 1; i <= m_names.size(); ++i) {
            bool null = false;
            auto value = readValue(SQLUSMALLINT(i), null);
            if (!value)
                return value.error();
            m_values << *value;
            m_nulls << null;
        }
        return true;
    }

private:
    // Reads a value in parts, so that a text of any length arrives whole.
    Result<QString> readValue(SQLUSMALLINT column, bool& null)
    {
        QString text;
        SQLWCHAR buffer[2048];
        const SQLLEN bufferBytes = sizeof(buffer);
        const qsizetype bufferChars = qsizetype(std::size(buffer)) - 1; // less the terminator
        for (;;) {
            SQLLEN indicator = 0;
            const SQLRETURN rc =
                SQLGetData(m_stmt, column, SQL_C_WCHAR, buffer, bufferBytes, &indicator);
            if (rc == SQL_NO_DATA)
                break;
            if (!succeeded(rc))
                return diagnostics(SQL_HANDLE_STMT, m_stmt,
                                   QStringLiteral("A value could not be read."));
            if (indicator == SQL_NULL_DATA) {
                null = true;
                return QString();
            }
            const bool partial = rc == SQL_SUCCESS_WITH_INFO &&
                                 (indicator == SQL_NO_TOTAL || indicator >= bufferBytes);
            text += fromWide(buffer, partial ? bufferChars : qsizetype(indicator) / 2);
            if (!partial)
                break;
        }
        return text;
    }

    std::shared_ptr<Link> m_link;
    SQLHSTMT m_stmt;
    QStringList m_names;
    QStringList m_values;
    QList<bool> m_nulls;
};

void Link::release()
{
    for (OdbcQuery* query : std::as_const(queries))
        query->release();
    queries.clear();
    if (connected)
        SQLDisconnect(dbc);
    connected = false;
    if (dbc != SQL_NULL_HDBC)
        SQLFreeHandle(SQL_HANDLE_DBC, dbc);
    dbc = SQL_NULL_HDBC;
    if (env != SQL_NULL_HENV)
        SQLFreeHandle(SQL_HANDLE_ENV, env);
    env = SQL_NULL_HENV;
}

QString driverName()
{
    const QString name = qEnvironmentVariable(DriverVariable);
    return name.isEmpty() ? QStringLiteral("FreeTDS") : name;
}

class OdbcConnection final : public Connection
{
public:
    ~OdbcConnection() override { close(); }

    Status open(const QString& connectionString) override { return open(connectionString, {}, {}); }

    Status open(const QString& connectionString, const QString& user,
                const QString& password) override
    {
        close();
        auto odbcString = ToOdbcConnectionString(connectionString, driverName(), user, password);
        if (!odbcString)
            return odbcString.error();

        auto link = std::make_shared<Link>();
        if (!succeeded(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &link->env)))
            return Error::failure(QStringLiteral("The ODBC driver manager could not be started."));
        SQLSetEnvAttr(link->env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
        if (!succeeded(SQLAllocHandle(SQL_HANDLE_DBC, link->env, &link->dbc)))
            return diagnostics(SQL_HANDLE_ENV, link->env,
                               QStringLiteral("The ODBC driver manager could not be started."));
        // Without a login time-out a server that accepts and never answers
        // would hold the program for good.
        SQLSetConnectAttrW(link->dbc, SQL_ATTR_LOGIN_TIMEOUT,
                           reinterpret_cast<SQLPOINTER>(SQLULEN(m_loginTimeout)), 0);
        QString text = *odbcString;
        const SQLRETURN rc = SQLDriverConnectW(link->dbc, nullptr, wide(text), SQL_NTS,
                                               nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT);
        if (!succeeded(rc))
            return diagnostics(SQL_HANDLE_DBC, link->dbc, QStringLiteral("Connection failed."));
        link->connected = true;
        m_link = std::move(link);
        return {};
    }

    void close() override
    {
        if (m_link)
            m_link->release();
        m_link.reset();
    }

    bool isOpen() const override { return m_link != nullptr; }

    Result<QString> databaseName() override
    {
        if (!m_link)
            return notOpen();
        SQLWCHAR name[512] = {};
        SQLINTEGER bytes = 0;
        const SQLRETURN rc =
            SQLGetConnectAttrW(m_link->dbc, SQL_ATTR_CURRENT_CATALOG, name, sizeof(name) - sizeof(SQLWCHAR), &bytes);
        if (succeeded(rc) && bytes > 0)
            return fromWide(name, qMin<qsizetype>(bytes / 2, qsizetype(std::size(name)) - 1));
        // The driver does not know: ask the server.
        auto rows = queryAll(QStringLiteral("select db_name()"));
        if (!rows)
            return rows.error();
        return rows->rows.isEmpty() ? QString() : rows->rows.first().value(0);
    }

    Result<std::unique_ptr<Query>> query(const QString& sql) override
    {
        auto stmt = run(sql);
        if (!stmt)
            return stmt.error();
        setRunning(SQL_NULL_HSTMT);
        auto query = std::make_unique<OdbcQuery>(m_link, *stmt);
        if (auto described = query->describe(); !described)
            return described.error();
        return std::unique_ptr<Query>(std::move(query));
    }

    Status execute(const QString& sql) override
    {
        auto stmt = run(sql);
        if (!stmt)
            return stmt.error();
        const SQLHSTMT handle = *stmt;
        // Every statement of the batch has its own result, and an error in a
        // later one only shows when the results before it are passed.
        Status status;
        for (;;) {
            const SQLRETURN rc = SQLMoreResults(handle);
            if (rc == SQL_NO_DATA)
                break;
            if (!succeeded(rc)) {
                status = diagnostics(SQL_HANDLE_STMT, handle, QStringLiteral("The batch failed."));
                break;
            }
        }
        setRunning(SQL_NULL_HSTMT);
        SQLFreeHandle(SQL_HANDLE_STMT, handle);
        return status;
    }

    void cancel() override
    {
        // Under the lock, so that the running thread cannot free the
        // statement while the cancel is being sent on it.
        const std::lock_guard lock(m_runningLock);
        if (m_running != SQL_NULL_HSTMT)
            SQLCancel(m_running);
    }

    void setLoginTimeout(int seconds) override { m_loginTimeout = seconds; }
    void setCommandTimeout(int seconds) override { m_commandTimeout = seconds; }

private:
    static Error notOpen() { return Error::failure(QStringLiteral("The connection is not open.")); }

    // Allocates a statement and runs `sql` on it; the caller frees the statement.
    Result<SQLHSTMT> run(const QString& sql)
    {
        if (!m_link)
            return notOpen();
        SQLHSTMT stmt = SQL_NULL_HSTMT;
        if (!succeeded(SQLAllocHandle(SQL_HANDLE_STMT, m_link->dbc, &stmt)))
            return diagnostics(SQL_HANDLE_DBC, m_link->dbc, QStringLiteral("The connection is not usable."));
        // 0 is no time-out: a run's column batch may take as long as its table
        // needs.
        SQLSetStmtAttrW(stmt, SQL_ATTR_QUERY_TIMEOUT,
                        reinterpret_cast<SQLPOINTER>(SQLULEN(m_commandTimeout)), 0);
        QString text = sql;
        setRunning(stmt);
        const SQLRETURN rc = SQLExecDirectW(stmt, wide(text), SQLINTEGER(text.size()));
        // SQL_NO_DATA: a batch that touched no row.
        if (!succeeded(rc) && rc != SQL_NO_DATA) {
            Error error = diagnostics(SQL_HANDLE_STMT, stmt, QStringLiteral("The statement failed."));
            setRunning(SQL_NULL_HSTMT);
            SQLFreeHandle(SQL_HANDLE_STMT, stmt);
            return error;
        }
        return stmt;
    }

    void setRunning(SQLHSTMT stmt)
    {
        const std::lock_guard lock(m_runningLock);
        m_running = stmt;
    }

    std::shared_ptr<Link> m_link;
    std::mutex m_runningLock;
    SQLHSTMT m_running = SQL_NULL_HSTMT; // the statement that cancel() stops
    int m_loginTimeout = DefaultLoginTimeout;
    int m_commandTimeout = DefaultCommandTimeout;
};

} // namespace

std::unique_ptr<Connection> MakeOdbcConnection()
{
    return std::make_unique<OdbcConnection>();
}

} // namespace corvane::db

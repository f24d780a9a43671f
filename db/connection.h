#pragma once

#include "base/result.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>
#include <memory>

namespace corvane::db {

// Default time-outs of the access layer, in seconds.
constexpr int DefaultLoginTimeout = 15;
constexpr int DefaultCommandTimeout = 30;

// A forward-only result of a query. Every value reads as text: SQL NULL as the
// empty text, numbers as their decimal text.
class Query
{
public:
    virtual ~Query() = default;

    virtual int fieldCount() const = 0;
    virtual QString fieldName(int index) const = 0;
    // Moves to the next row (the first one on the first call); false at the end.
    virtual Result<bool> next() = 0;
    // Value of the current row.
    virtual QString value(int index) const = 0;
    // Whether that value is SQL NULL (which value() gives as the empty text).
    virtual bool isNull(int index) const
    {
        Q_UNUSED(index);
        return false;
    }

    // Case-insensitive lookup of a field by name; -1 when there is none.
    int fieldIndex(const QString& name) const;
    QString value(const QString& name) const;
};

// A whole result held in memory.
struct Rows
{
    QStringList fields;
    QVector<QStringList> rows;

    int fieldIndex(const QString& name) const;
    // Value of a field by name (case-insensitive); empty when there is no such field.
    QString value(int row, const QString& name) const;
};

// One connection to a SQL Server database, opened from the connection string
// that the connection dialog builds.
class Connection
{
public:
    virtual ~Connection() = default;

    virtual Status open(const QString& connectionString) = 0;
    // As open(), with the user name and password given apart from the string.
    virtual Status open(const QString& connectionString, const QString& user,
                        const QString& password) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;

    // The connection's current (default) database.
    virtual Result<QString> databaseName() = 0;

    // Runs a query; the connection is busy until the returned query is destroyed.
    virtual Result<std::unique_ptr<Query>> query(const QString& sql) = 0;
    // Runs a batch whose results, if any, are discarded.
    virtual Status execute(const QString& sql) = 0;

    // Asks the server to stop the statement now running on this connection;
    // safe to call from another thread while that statement runs, and a no-op
    // when none does. The statement then fails.
    virtual void cancel() {}

    virtual void setLoginTimeout(int seconds) = 0;
    virtual void setCommandTimeout(int seconds) = 0;

    // Runs a query and reads its whole result.
    Result<Rows> queryAll(const QString& sql);
};

using ConnectionFactory = std::function<std::unique_ptr<Connection>()>;

// A new connection from `connect`, opened on `connectionString` with the
// default login time-out. The one way the program opens a connection.
Result<std::unique_ptr<Connection>> openConnection(const ConnectionFactory& connect,
                                                   const QString& connectionString);

} // namespace corvane::db

#pragma once

#include "db/connection.h"

#include <QStringList>

#include <functional>
#include <memory>

namespace corvane::test {

// A scripted stand-in for a SQL Server, for tests that need no wire protocol.
// Connections made by factory() share it; it records what they send.
class FakeServer
{
public:
    struct Rule
    {
        QString contains;        // the rule applies when the SQL text holds this
        db::Rows rows;           // result of a query
        QString error;           // non-empty: the statement fails with this text
    };

    QString databaseName = QStringLiteral("fixture");
    QString refuseOpen;          // non-empty: every open fails with this text
    QList<Rule> rules;           // first matching rule wins
    QStringList sent;            // every query and batch text, in order
    QStringList opened;          // every connection string opened, in order
    int openConnections = 0;

    void answer(const QString& contains, db::Rows rows) { rules.append({contains, std::move(rows), {}}); }
    void fail(const QString& contains, const QString& error) { rules.append({contains, {}, error}); }

    db::ConnectionFactory factory();
    std::unique_ptr<db::Connection> connect();
};

// Rows from a header and lines of values; "\N" stands for SQL NULL (read as empty).
db::Rows makeRows(const QStringList& fields, const QList<QStringList>& rows);

} // namespace corvane::test

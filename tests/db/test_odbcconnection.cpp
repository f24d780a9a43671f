#include "db/odbcconnection.h"
#include "tests/support/tdsserver.h"
#include "tests/support/testlocale.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

using namespace corvane;
using test::TdsServer;

namespace {

template <typename R>
QByteArray why(const R& result)
{
    return result.ok() ? QByteArray() : result.error().message.toUtf8();
}

const QByteArray Rules = R"([
    {"match": "select * from Typed", "columns": [
        {"name": "id", "type": "int"}, {"name": "Name", "type": "nvarchar"},
        {"name": "born", "type": "datetime"}, {"name": "weight", "type": "float"},
        {"name": "big", "type": "bigint"}, {"name": "flag", "type": "bit"}],
     "rows": [[1, "Zoë Ωmega", "2024-01-31 13:45:00", 1.5, 12345678901, true],
              [-7, "", "1900-01-01 00:00:00.5", -0.25, 0, false],
              [null, null, null, null, null, null]]},
    {"match": "select memo from Long", "columns": [{"name": "memo", "type": "nvarchar max"}],
     "rows": [["LONG"], [""], [null]]},
    {"match": "from Missing", "error": {"number": 208, "message": "Invalid object name 'Missing'."}},
    {"match": "second statement fails", "columns": [{"name": "n", "type": "int"}], "rows": [[1]],
     "error": {"number": 547, "message": "The UPDATE statement conflicted with the FOREIGN KEY constraint FK_x."}},
    {"match": "waitfor", "stall": 20},
    {"match": "pull the plug", "drop": true},
    {"match": "update Counted", "rowcount": 3, "columns": [{"name": "n", "type": "int"}], "rows": [[42]]},
    {"match": "select n from Big", "columns": [{"name": "n", "type": "int"}, {"name": "t", "type": "nvarchar"}], "generate": 200000}
])";

QString longText()
{
    QString text;
    for (int i = 0; i < 3000; ++i)
        text += QStringLiteral("Ωmega %1;").arg(i);
    return text;
}

QByteArray fixture()
{
    QByteArray rules = Rules;
    rules.replace("LONG", longText().toUtf8());
    return TdsServer::defaultFixture(rules);
}

std::unique_ptr<db::Connection> openOn(const TdsServer& server)
{
    auto connection = db::MakeOdbcConnection();
    auto opened = connection->open(server.connectionString());
    if (!opened)
        qWarning("open failed: %s", why(opened).constData());
    return opened ? std::move(connection) : nullptr;
}

} // namespace

class TestOdbcConnection : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TdsServer> m_server;

private Q_SLOTS:
    void initTestCase()
    {
        test::useTestLocale();
        m_server = std::make_unique<TdsServer>(fixture());
        QVERIFY(m_server->started());
    }
    void init() { m_server->clearBatches(); }
    void cleanupTestCase() { m_server.reset(); }

    void opensAndNamesTheDatabase_data()
    {
        QTest::addColumn<QString>("database");
        QTest::newRow("fixture") << QStringLiteral("fixture");
        QTest::newRow("other") << QStringLiteral("other");
    }
    void opensAndNamesTheDatabase()
    {
        QFETCH(QString, database);
        auto connection = db::MakeOdbcConnection();
        QVERIFY(!connection->isOpen());
        const Status opened = connection->open(m_server->connectionString(database));
        QVERIFY2(opened.ok(), why(opened).constData());
        QVERIFY(connection->isOpen());
        const auto name = connection->databaseName();
        QVERIFY2(name.ok(), why(name).constData());
        QCOMPARE(*name, database);
        connection->close();
        QVERIFY(!connection->isOpen());
        QVERIFY(!connection->databaseName().ok());
    }

    // The dialog's test passes login and password apart from the string.
    void opensWithExplicitCredentials()
    {
        auto connection = db::MakeOdbcConnection();
        const QString string =
            m_server->connectionString(QStringLiteral("fixture"), QStringLiteral("nobody"), QStringLiteral("wrong"));
        const Status opened = connection->open(string, QStringLiteral("corvane"), QStringLiteral("secret"));
        QVERIFY2(opened.ok(), why(opened).constData());
    }

    // Values with the characters that the dialog's string or the driver's
    // string quote still arrive as typed.
    void awkwardCredentialsArriveAsTyped_data()
    {
        QTest::addColumn<QString>("login");
        QTest::addColumn<QString>("password");
        QTest::newRow("; and } in login, braces, quote and blanks in password")
            << QStringLiteral("Zoë; o'}") << QStringLiteral(" se}c;r{et=\"x\" ");
        QTest::newRow("blanks and braces, no ;") << QStringLiteral("plain") << QStringLiteral(" a}b{ = ");
        QTest::newRow("opening brace") << QStringLiteral("brace") << QStringLiteral("{pw}");
        QTest::newRow("opening quotes") << QStringLiteral("'quoted'") << QStringLiteral("\"pw;\"\"\"");
    }
    void awkwardCredentialsArriveAsTyped()
    {
        QFETCH(QString, login);
        QFETCH(QString, password);
        const QJsonObject fixture{{QStringLiteral("logins"), QJsonObject{{login, password}}},
                                  {QStringLiteral("databases"), QJsonObject{{QStringLiteral("Ωmega"), QJsonArray()}}}};
        m_server->setFixture(QJsonDocument(fixture).toJson());
        auto connection = db::MakeOdbcConnection();
        const Status opened = connection->open(m_server->connectionString(QStringLiteral("Ωmega"), login, password));
        m_server->setFixture(::fixture());
        QVERIFY2(opened.ok(), why(opened).constData());
        QCOMPARE(connection->databaseName().value(), QStringLiteral("Ωmega"));
    }

    void refusedLogins_data()
    {
        QTest::addColumn<QString>("database");
        QTest::addColumn<QString>("login");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("code"); // of the most severe message
        QTest::newRow("wrong password") << QStringLiteral("fixture") << QStringLiteral("corvane")
                                        << QStringLiteral("Secret")
                                        << QStringLiteral("Login failed for user 'corvane'.") << 18456;
        QTest::newRow("empty password") << QStringLiteral("fixture") << QStringLiteral("corvane") << QString()
                                        << QStringLiteral("Login failed for user 'corvane'.") << 18456;
        QTest::newRow("unknown login") << QStringLiteral("fixture") << QStringLiteral("sa")
                                       << QStringLiteral("secret")
                                       << QStringLiteral("Login failed for user 'sa'.") << 18456;
        QTest::newRow("unknown database")
            << QStringLiteral("nope") << QStringLiteral("corvane") << QStringLiteral("secret")
            << QStringLiteral("Cannot open database \"nope\" requested by the login. The login failed.") << 18456;
    }
    void refusedLogins()
    {
        QFETCH(QString, database);
        QFETCH(QString, login);
        QFETCH(QString, password);
        QFETCH(QString, message);
        QFETCH(int, code);
        auto connection = db::MakeOdbcConnection();
        const Status opened = connection->open(m_server->connectionString(database, login, password));
        QVERIFY(!opened.ok());
        QVERIFY(!connection->isOpen());
        QVERIFY2(opened.error().message.split(u'\n').contains(message), why(opened).constData());
        QCOMPARE(opened.error().code, code);
    }

    void closedPortFails()
    {
        // The port of a server that has stopped.
        quint16 port = 0;
        {
            TdsServer gone;
            QVERIFY(gone.started());
            port = gone.port();
        }
        auto connection = db::MakeOdbcConnection();
        connection->setLoginTimeout(5);
        QString string = m_server->connectionString();
        string.replace(QStringLiteral("127.0.0.1,") + QString::number(m_server->port()),
                       QStringLiteral("127.0.0.1,") + QString::number(port));
        const Status opened = connection->open(string);
        QVERIFY(!opened.ok());
        QVERIFY(!opened.error().message.isEmpty());
        QVERIFY(!connection->isOpen());
    }

    // A server that takes the connection and never answers must not hold the
    // program for good.
    void silentServerTimesOut()
    {
        TdsServer silent(R"({"logins": {"corvane": "secret"}, "databases": {"fixture": []}, "silent": true})");
        QVERIFY(silent.started());
        auto connection = db::MakeOdbcConnection();
        connection->setLoginTimeout(2);
        QElapsedTimer timer;
        timer.start();
        const Status opened = connection->open(silent.connectionString());
        QVERIFY(!opened.ok());
        QVERIFY2(timer.elapsed() < 10000, QByteArray::number(timer.elapsed()).constData());
        QVERIFY(timer.elapsed() >= 1500);
        QVERIFY(opened.error().isTimeout());
        QVERIFY(!connection->isOpen());
    }

    // An operator may name another installed driver.
    void driverFromEnvironment()
    {
        qputenv(db::DriverVariable, "No Such Driver");
        auto connection = db::MakeOdbcConnection();
        const Status opened = connection->open(m_server->connectionString());
        qunsetenv(db::DriverVariable);
        QVERIFY(!opened.ok());
        QVERIFY(!connection->isOpen());
        QVERIFY(connection->open(m_server->connectionString()).ok());
    }

    void readsTypedValuesAsText()
    {
        auto connection = openOn(*m_server);
        QVERIFY(connection);
        const auto rows = connection->queryAll(QStringLiteral("select * from Typed"));
        QVERIFY2(rows.ok(), why(rows).constData());
        QCOMPARE(rows->fields, (QStringList{QStringLiteral("id"), QStringLiteral("Name"), QStringLiteral("born"),
                                            QStringLiteral("weight"), QStringLiteral("big"), QStringLiteral("flag")}));
        QCOMPARE(rows->rows.size(), 3);
        QCOMPARE(rows->rows.at(0), (QStringList{QStringLiteral("1"), QStringLiteral("Zoë Ωmega"),
                                                QStringLiteral("2024-01-31 13:45:00.000"), QStringLiteral("1.5"),
                                                QStringLiteral("12345678901"), QStringLiteral("1")}));
        QCOMPARE(rows->rows.at(1), (QStringList{QStringLiteral("-7"), QString(),
                                                QStringLiteral("1900-01-01 00:00:00.500"), QStringLiteral("-0.25"),
                                                QStringLiteral("0"), QStringLiteral("0")}));
        QCOMPARE(rows->rows.at(2), QStringList(6, QString()));
        // Fields by name, whatever the case.
        QCOMPARE(rows->value(0, QStringLiteral("NAME")), QStringLiteral("Zoë Ωmega"));
    }

    void readsLongTextWhole()
    {
        auto connection = openOn(*m_server);
        QVERIFY(connection);
        auto query = connection->query(QStringLiteral("select memo from Long"));
        QVERIFY2(query.ok(), why(query).constData());
        QCOMPARE((*query)->fieldIndex(QStringLiteral("MEMO")), 0);
        QVERIFY((*query)->next().value());
        QCOMPARE((*query)->value(QStringLiteral("memo")), longText());
        QVERIFY((*query)->next().value());
        QCOMPARE((*query)->value(0), QString());
        QVERIFY((*query)->next().value());
        QCOMPARE((*query)->value(0), QString());
        QVERIFY(!(*query)->next().value());
    }

    void queryPassesOverRowCountsBeforeItsResult()
    {
        auto connection = openOn(*m_server);
        QVERIFY(connection);
        const auto rows = connection->queryAll(QStringLiteral("update Counted set n = 42; select n from Counted"));
        QVERIFY2(rows.ok(), why(rows).constData());
        QCOMPARE(rows->fields, QStringList{QStringLiteral("n")});
        QCOMPARE(rows->rows, QVector<QStringList>{QStringList{QStringLiteral("42")}});
    }

    void sendsBatchTextExactly_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::newRow("CR LF, TAB, trailing blanks")
            << QStringLiteral("update T set a = 1 \r\n\twhere b = 2  \r\n");
        QTest::newRow("non-Latin-1 text") << QStringLiteral("update T set name = N'Zoë Ωmega 東京'");
        QTest::newRow("leading blanks and a comment") << QStringLiteral("  -- note ?\r\nselect 1");
        QString script;
        for (int i = 0; script.size() < 40000; ++i)
            script += QStringLiteral("update T set c%1 = N'Ω' \r\n\t").arg(i);
        QTest::newRow("longer than many packets") << script;
    }
    void sendsBatchTextExactly()
    {
        QFETCH(QString, sql);
        auto connection = openOn(*m_server);
        QVERIFY(connection);
        const Status done = connection->execute(sql);
        QVERIFY2(done.ok(), why(done).constData());
        QCOMPARE(m_server->batches(), QStringList{sql});
    }

    void serverErrorsCarryTheirText()
    {
        auto connection = openOn(*m_server);
        QVERIFY(connection);
        const auto rows = connection->queryAll(QStringLiteral("select * from Missing"));
        QVERIFY(!rows.ok());
        QCOMPARE(rows.error().message, QStringLiteral("Invalid object name 'Missing'."));
        QCOMPARE(rows.error().code, 208);
        QVERIFY(!rows.error().isTimeout());

        const Status done = connection->execute(QStringLiteral("delete from Missing"));
        QVERIFY(!done.ok());
        QCOMPARE(done.error().message, QStringLiteral("Invalid object name 'Missing'."));

        // The connection is still good.
        QVERIFY(connection->execute(QStringLiteral("select 1")).ok());
    }

    // A batch whose first statement returns rows and whose second fails is a
    // failure, not a success.
    void executeSeesErrorsOfLaterStatements()
    {
        auto connection = openOn(*m_server);
        QVERIFY(connection);
        const Status done = connection->execute(QStringLiteral("select 1; -- second statement fails"));
        QVERIFY(!done.ok());
        QCOMPARE(done.error().message,
                 QStringLiteral("The UPDATE statement conflicted with the FOREIGN KEY constraint FK_x."));
        QCOMPARE(done.error().code, 547);
        QVERIFY(connection->execute(QStringLiteral("select 1")).ok());
    }

    void timeoutLeavesConnectionUsable_data()
    {
        QTest::addColumn<bool>("asQuery");
        QTest::newRow("execute") << false;
        QTest::newRow("query") << true;
    }
    void timeoutLeavesConnectionUsable()
    {
        QFETCH(bool, asQuery);
        auto connection = openOn(*m_server);
        QVERIFY(connection);
        connection->setCommandTimeout(1);
        QElapsedTimer timer;
        timer.start();
        const QString sql = QStringLiteral("waitfor delay '00:00:20'");
        const Error error = asQuery ? connection->queryAll(sql).error() : connection->execute(sql).error();
        QVERIFY2(error.isTimeout(), error.message.toUtf8().constData());
        QVERIFY2(timer.elapsed() < 10000, QByteArray::number(timer.elapsed()).constData());
        QVERIFY(!error.message.isEmpty());

        const auto name = connection->queryAll(QStringLiteral("select db_name()"));
        QVERIFY2(name.ok(), why(name).constData());
        QCOMPARE(name->rows.value(0).value(0), QStringLiteral("fixture"));
    }

    void droppedConnectionGivesErrors()
    {
        auto connection = openOn(*m_server);
        QVERIFY(connection);
        const Status dropped = connection->execute(QStringLiteral("pull the plug"));
        QVERIFY(!dropped.ok());
        QVERIFY(!dropped.error().message.isEmpty());
        QVERIFY(!connection->execute(QStringLiteral("select 1")).ok());
        QVERIFY(!connection->queryAll(QStringLiteral("select * from Typed")).ok());
        connection->close();
        // A new connection works.
        QVERIFY(connection->open(m_server->connectionString()).ok());
        QVERIFY(connection->execute(QStringLiteral("select 1")).ok());
    }

    // Leaving a large result half read cancels the rest of it.
    void abandonedQueryLeavesConnectionUsable()
    {
        auto connection = openOn(*m_server);
        QVERIFY(connection);
        {
            auto query = connection->query(QStringLiteral("select n from Big"));
            QVERIFY2(query.ok(), why(query).constData());
            for (int i = 1; i <= 3; ++i) {
                QVERIFY((*query)->next().value());
                QCOMPARE((*query)->value(QStringLiteral("t")), QStringLiteral("t %1").arg(i));
            }
        }
        const auto name = connection->databaseName();
        QVERIFY(name.ok());
        QVERIFY2(connection->execute(QStringLiteral("select 1")).ok(), m_server->log().toUtf8().constData());
    }

    // Closing a connection under a live query must not free its statement twice.
    void queryOutlivingItsConnection()
    {
        auto connection = openOn(*m_server);
        QVERIFY(connection);
        auto query = connection->query(QStringLiteral("select * from Typed"));
        QVERIFY2(query.ok(), why(query).constData());
        connection.reset();
        QVERIFY(!(*query)->next().ok());
    }
};

QTEST_GUILESS_MAIN(TestOdbcConnection)
#include "test_odbcconnection.moc"

#include "db/connectionstring.h"
#include "db/odbcconnection.h"
#include "tests/support/testlocale.h"

#include <QTest>

using namespace corvane;

namespace {

QString dialogString(const QString& server, const QString& database, const QString& login,
                     const QString& password)
{
    return db::BuildConnectionString({server, database, login, password}, QStringLiteral("PC01"));
}

const QString FreeTds = QStringLiteral("FreeTDS");

} // namespace

class TestOdbcString : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { test::useTestLocale(); }

    void fromDialogString_data()
    {
        QTest::addColumn<QString>("server");
        QTest::addColumn<QString>("database");
        QTest::addColumn<QString>("login");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char* name, const QString& server, const QString& database,
                            const QString& login, const QString& password, const QString& odbc) {
            QTest::newRow(name) << server << database << login << password << odbc;
        };
        const QString tail = QStringLiteral(";TDS_Version=7.4;PacketSize=4096;WSID=PC01;Encryption=request");
        row("host", QStringLiteral("db01"), QStringLiteral("Sales"), QStringLiteral("sa"), QStringLiteral("pw"),
            QStringLiteral("DRIVER={FreeTDS};SERVER=db01;DATABASE=Sales;UID=sa;PWD=pw") + tail);
        row("host\\instance", QStringLiteral("db01\\SQLEXPRESS"), QStringLiteral("Sales"), QStringLiteral("sa"),
            QStringLiteral("pw"),
            QStringLiteral("DRIVER={FreeTDS};SERVER=db01\\SQLEXPRESS;DATABASE=Sales;UID=sa;PWD=pw") + tail);
        row("host,port", QStringLiteral("10.0.0.5,14330"), QStringLiteral("Sales"), QStringLiteral("sa"),
            QStringLiteral("pw"),
            QStringLiteral("DRIVER={FreeTDS};SERVER=10.0.0.5;PORT=14330;DATABASE=Sales;UID=sa;PWD=pw") + tail);
        row("host , port", QStringLiteral("db01 , 14330"), QStringLiteral("Sales"), QStringLiteral("sa"),
            QStringLiteral("pw"),
            QStringLiteral("DRIVER={FreeTDS};SERVER=db01;PORT=14330;DATABASE=Sales;UID=sa;PWD=pw") + tail);
        row("password with ;", QStringLiteral("db01"), QStringLiteral("Sales"), QStringLiteral("sa"),
            QStringLiteral("a;b=c"),
            QStringLiteral("DRIVER={FreeTDS};SERVER=db01;DATABASE=Sales;UID=sa;PWD={a;b=c}") + tail);
        row("password with braces", QStringLiteral("db01"), QStringLiteral("Sales"), QStringLiteral("sa"),
            QStringLiteral("a}b{"),
            QStringLiteral("DRIVER={FreeTDS};SERVER=db01;DATABASE=Sales;UID=sa;PWD=a}b{") + tail);
        // FreeTDS takes a braced value raw up to the first "};".
        row("password with } and ;", QStringLiteral("db01"), QStringLiteral("Sales"), QStringLiteral("sa"),
            QStringLiteral("a}b;c}"),
            QStringLiteral("DRIVER={FreeTDS};SERVER=db01;DATABASE=Sales;UID=sa;PWD={a}b;c}}") + tail);
        row("password opening with a brace", QStringLiteral("db01"), QStringLiteral("Sales"), QStringLiteral("sa"),
            QStringLiteral("{pw}"),
            QStringLiteral("DRIVER={FreeTDS};SERVER=db01;DATABASE=Sales;UID=sa;PWD={{pw}}") + tail);
        row("password with quote and ;", QStringLiteral("db01"), QStringLiteral("Sales"), QStringLiteral("sa"),
            QStringLiteral("x\";'y"),
            QStringLiteral("DRIVER={FreeTDS};SERVER=db01;DATABASE=Sales;UID=sa;PWD={x\";'y}") + tail);
        row("password opening with a quote", QStringLiteral("db01"), QStringLiteral("Sales"),
            QStringLiteral("sa"), QStringLiteral("'pw'"),
            QStringLiteral("DRIVER={FreeTDS};SERVER=db01;DATABASE=Sales;UID=sa;PWD='pw'") + tail);
        row("password with blanks around", QStringLiteral("db01"), QStringLiteral("Sales"), QStringLiteral("sa"),
            QStringLiteral(" pw "),
            QStringLiteral("DRIVER={FreeTDS};SERVER=db01;DATABASE=Sales;UID=sa;PWD= pw ") + tail);
        row("empty password", QStringLiteral("db01"), QStringLiteral("Sales"), QStringLiteral("sa"), QString(),
            QStringLiteral("DRIVER={FreeTDS};SERVER=db01;DATABASE=Sales;UID=sa;PWD=") + tail);
        row("database and login with braces", QStringLiteral("db01"), QStringLiteral("Sa{les}"),
            QStringLiteral("d;omain"), QStringLiteral("pw"),
            QStringLiteral("DRIVER={FreeTDS};SERVER=db01;DATABASE=Sa{les};UID={d;omain};PWD=pw") + tail);
        row("non-Latin-1 text", QStringLiteral("db01"), QStringLiteral("Zoë"), QStringLiteral("Ωmega"),
            QStringLiteral("東京"),
            QStringLiteral("DRIVER={FreeTDS};SERVER=db01;DATABASE=Zoë;UID=Ωmega;PWD=東京") + tail);
    }
    void fromDialogString()
    {
        QFETCH(QString, server);
        QFETCH(QString, database);
        QFETCH(QString, login);
        QFETCH(QString, password);
        QFETCH(QString, expected);
        const auto odbc = db::ToOdbcConnectionString(dialogString(server, database, login, password), FreeTds);
        QVERIFY(odbc.ok());
        QCOMPARE(*odbc, expected);
    }

    void otherForms_data()
    {
        QTest::addColumn<QString>("oledb");
        QTest::addColumn<QString>("driver");
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("expected");
        QTest::newRow("explicit credentials win")
            << dialogString(QStringLiteral("db01"), QStringLiteral("Sales"), QStringLiteral("old"), QStringLiteral("old"))
            << FreeTds << QStringLiteral("sa") << QStringLiteral("new;pw")
            << QStringLiteral("DRIVER={FreeTDS};SERVER=db01;DATABASE=Sales;UID=sa;PWD={new;pw};TDS_Version=7.4;"
                              "PacketSize=4096;WSID=PC01;Encryption=request");
        QTest::newRow("keys in any case, blanks around keys")
            << QStringLiteral("data source=db01 ;  INITIAL CATALOG=Sales; user id=sa;PASSWORD=pw")
            << FreeTds << QString() << QString()
            << QStringLiteral("DRIVER={FreeTDS};SERVER=db01;DATABASE=Sales;UID=sa;PWD=pw;TDS_Version=7.4;"
                              "Encryption=request");
        QTest::newRow("single-quoted value with a doubled quote")
            << QStringLiteral("Data Source=db01;User ID=sa;Password='it''s;ok'") << FreeTds << QString() << QString()
            << QStringLiteral("DRIVER={FreeTDS};SERVER=db01;UID=sa;PWD={it's;ok};TDS_Version=7.4;Encryption=request");
        QTest::newRow("encryption asked for")
            << QStringLiteral("Data Source=db01;User ID=sa;Password=pw;Use Encryption for Data=True") << FreeTds
            << QString() << QString()
            << QStringLiteral("DRIVER={FreeTDS};SERVER=db01;UID=sa;PWD=pw;TDS_Version=7.4;Encryption=require");
        QTest::newRow("no driver named")
            << QStringLiteral("Data Source=db01;User ID=sa;Password=pw") << QString() << QString() << QString()
            << QStringLiteral("DRIVER={FreeTDS};SERVER=db01;UID=sa;PWD=pw;TDS_Version=7.4;Encryption=request");
        // Another driver reads the address whole and knows nothing of FreeTDS's keys.
        QTest::newRow("another driver")
            << dialogString(QStringLiteral("db01,14330"), QStringLiteral("Sales"), QStringLiteral("sa"),
                            QStringLiteral("pw"))
            << QStringLiteral("ODBC Driver 18 for SQL Server") << QString() << QString()
            << QStringLiteral("DRIVER={ODBC Driver 18 for SQL Server};SERVER=db01,14330;DATABASE=Sales;UID=sa;"
                              "PWD=pw;WSID=PC01");
        // ... and quotes by the ODBC rule: braces, and a '}' doubled.
        QTest::newRow("another driver, awkward password")
            << QStringLiteral("Data Source=db01;User ID=sa;Password=\" a}b;\"") << QStringLiteral("Other") << QString()
            << QString() << QStringLiteral("DRIVER={Other};SERVER=db01;UID=sa;PWD={ a}}b;}");
    }
    void otherForms()
    {
        QFETCH(QString, oledb);
        QFETCH(QString, driver);
        QFETCH(QString, user);
        QFETCH(QString, password);
        QFETCH(QString, expected);
        const auto odbc = db::ToOdbcConnectionString(oledb, driver, user, password);
        QVERIFY(odbc.ok());
        QCOMPARE(*odbc, expected);
    }

    void malformed_data()
    {
        QTest::addColumn<QString>("oledb");
        QTest::addColumn<QString>("why");
        QTest::newRow("no data source") << QStringLiteral("User ID=sa;Password=pw") << QStringLiteral("no Data Source");
        QTest::newRow("empty") << QString() << QStringLiteral("no Data Source");
        QTest::newRow("no user") << QStringLiteral("Data Source=db01;User ID=;Password=pw")
                                 << QStringLiteral("no User ID");
        QTest::newRow("quote never closed") << QStringLiteral("Data Source=db01;Password=\"pw;User ID=sa")
                                            << QStringLiteral("the value of 'password' has no closing quote");
        QTest::newRow("text after a quoted value") << QStringLiteral("Data Source=db01;Password=\"pw\"x;User ID=sa")
                                                   << QStringLiteral("text after the quoted value of 'password'");
        // Nothing of the string is repeated: it may hold the password.
        QTest::newRow("key without value") << QStringLiteral("Data Source=db01;Password=pw;secret")
                                           << QStringLiteral("a key without a value");
        QTest::newRow("packet size not a number") << QStringLiteral("Data Source=db01;User ID=sa;Packet Size=big")
                                                  << QStringLiteral("Packet Size 'big' is not a number");
        QTest::newRow("a value FreeTDS cannot take")
            << QStringLiteral("Data Source=db01;User ID=sa;Password=\"a};b\"")
            << QStringLiteral("the driver cannot take a PWD that holds \"};\"");
    }
    void malformed()
    {
        QFETCH(QString, oledb);
        QFETCH(QString, why);
        const auto odbc = db::ToOdbcConnectionString(oledb, FreeTds);
        QVERIFY(!odbc.ok());
        QCOMPARE(odbc.error().message, QStringLiteral("Invalid connection string: ") + why);
    }
};

QTEST_GUILESS_MAIN(TestOdbcString)
#include "test_odbcstring.moc"

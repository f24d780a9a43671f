#include "db/odbcconnection.h"
#include "tests/support/fakedialogs.h"
#include "tests/support/tdsserver.h"
#include "ui/main/loginf.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace corvane;

// The reason under "Connection failed." as the real driver reports it.
class TestLoginFTds : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void reasonLine_data()
    {
        QTest::addColumn<QString>("database");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("reason");
        // 18456
        QTest::newRow("wrong password") << QStringLiteral("fixture") << QStringLiteral("Secret")
                                        << QStringLiteral("Login failed for user 'corvane'.");
        // 4060, which the server follows with 18456
        QTest::newRow("unknown database")
            << QStringLiteral("nope") << QStringLiteral("secret")
            << QStringLiteral("Cannot open database \"nope\" requested by the login. The login failed.");
    }
    void reasonLine()
    {
        QFETCH(QString, database);
        QFETCH(QString, password);
        QFETCH(QString, reason);
        test::TdsServer server;
        QVERIFY(server.started());
        test::FakeDialogs dialogs;
        TLoginF dialog([] { return db::MakeOdbcConnection(); });
        dialog.EdServerName->setText(QStringLiteral("127.0.0.1,") + QString::number(server.port()));
        dialog.EdDatabaseName->setText(database);
        dialog.EdLogin->setText(QStringLiteral("corvane"));
        dialog.EdPassword->setText(password);
        dialog.testConnection();

        QCOMPARE(dialogs.shown.size(), 1);
        QCOMPARE(dialogs.shown.at(0).kind, QStringLiteral("error"));
        const QStringList lines = dialogs.shown.at(0).text.split(u'\n');
        QCOMPARE(lines.value(0), QStringLiteral("Connection failed."));
        QVERIFY2(lines.contains(reason), qPrintable(dialogs.shown.at(0).text));
        QVERIFY(!dialog.Button1->isEnabled());
    }
};

QTEST_MAIN(TestLoginFTds)
#include "test_loginf_tds.moc"

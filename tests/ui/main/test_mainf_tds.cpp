// The connection dialog and the Login command against the TDS test server,
// through the real ODBC driver.
#include "check/factsquery.h"
#include "db/odbcconnection.h"
#include "tests/support/fakedialogs.h"
#include "tests/support/tdsserver.h"
#include "tests/support/testlocale.h"
#include "tests/ui/main/logintest.h"
#include "tests/ui/main/schemafixture.h"
#include "ui/main/loginf.h"
#include "ui/main/mainf.h"
#include "ui/main/schematreemodel.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QAction>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <QTreeView>

using namespace corvane;
using test::TdsServer;

namespace {

const QString Succeeded = QStringLiteral("message: Test connection succeeded.");
// A failure: the error box, the fixed first line, then the server's (18456,
// 4060) or the driver's reason; "any" stands for a driver text not fixed here.
const QString Refused = QStringLiteral("Login failed for user 'corvane'.");

} // namespace

class TestMainFTds : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TdsServer> m_server;
    quint16 m_closedPort = 0;

    QString serverName(quint16 port) const
    {
        return QStringLiteral("127.0.0.1,") + QString::number(port);
    }

private Q_SLOTS:
    void initTestCase()
    {
        test::useTestLocale();
        {
            TdsServer gone;
            QVERIFY(gone.started());
            m_closedPort = gone.port();
        }
        m_server = std::make_unique<TdsServer>(TdsServer::defaultFixture(test::shopSchemaRules()));
        QVERIFY(m_server->started());
    }
    void cleanupTestCase() { m_server.reset(); }

    void testConnection_data()
    {
        QTest::addColumn<bool>("closedPort");
        QTest::addColumn<QString>("database");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("message");
        QTest::newRow("right credentials")
            << false << QStringLiteral("fixture") << QStringLiteral("secret") << Succeeded;
        QTest::newRow("other database")
            << false << QStringLiteral("other") << QStringLiteral("secret") << Succeeded;
        QTest::newRow("wrong password")
            << false << QStringLiteral("fixture") << QStringLiteral("Secret") << Refused;
        QTest::newRow("empty password")
            << false << QStringLiteral("fixture") << QString() << Refused;
        QTest::newRow("unknown database")
            << false << QStringLiteral("nowhere") << QStringLiteral("secret")
            << QStringLiteral("Cannot open database \"nowhere\" requested by the login. The login failed.");
        QTest::newRow("closed port")
            << true << QStringLiteral("fixture") << QStringLiteral("secret") << QStringLiteral("any");
    }

    // Each case runs after a successful test in the same dialog: a failure
    // must take "OK" back.
    void testConnection()
    {
        QFETCH(bool, closedPort);
        QFETCH(QString, database);
        QFETCH(QString, password);
        QFETCH(QString, message);
        test::FakeDialogs dialogs;
        QString result;
        TLoginF dialog(&db::MakeOdbcConnection);
        dialog.SetResultTarget(&result);
        dialog.EdServerName->setText(serverName(m_server->port()));
        dialog.EdDatabaseName->setText(QStringLiteral("fixture"));
        dialog.EdLogin->setText(QStringLiteral("corvane"));
        dialog.EdPassword->setText(QStringLiteral("secret"));
        QTest::mouseClick(dialog.Button3, Qt::LeftButton);
        QVERIFY(test::waitForTest(dialog));
        QCOMPARE(dialogs.texts(), QStringList{Succeeded});
        QVERIFY(dialog.Button1->isEnabled());

        dialogs.shown.clear();
        dialog.EdServerName->setText(serverName(closedPort ? m_closedPort : m_server->port()));
        dialog.EdDatabaseName->setText(database);
        dialog.EdPassword->setText(password);
        QTest::mouseClick(dialog.Button3, Qt::LeftButton);
        QVERIFY(test::waitForTest(dialog));
        if (message == Succeeded) {
            QCOMPARE(dialogs.texts(), QStringList{message});
        } else {
            QCOMPARE(dialogs.shown.size(), 1);
            QCOMPARE(dialogs.shown.at(0).kind, QStringLiteral("error"));
            const QStringList lines = dialogs.shown.at(0).text.split(u'\n');
            QCOMPARE(lines.value(0), QStringLiteral("Connection failed."));
            QVERIFY2(lines.size() > 1 && (message == u"any" || lines.contains(message)),
                     qPrintable(dialogs.shown.at(0).text));
        }
        QCOMPARE(dialog.Button1->isEnabled(), message == Succeeded);

        QTest::mouseClick(dialog.Button1, Qt::LeftButton);
        if (message == Succeeded)
            QCOMPARE(result, m_server->connectionString(database));
        else
            QVERIFY(result.isEmpty());
    }

    // A server that takes the login and never answers: the dialog goes on
    // handling events and refuses a second test meanwhile, and Cancel
    // closes it at once; the abandoned login ends on its own.
    void testAgainstASilentServer()
    {
        TdsServer silent(
            R"({"logins": {"corvane": "secret"}, "databases": {"fixture": []}, "silent": true})");
        QVERIFY(silent.started());
        test::FakeDialogs dialogs;
        QString result;
        TLoginF dialog(&db::MakeOdbcConnection);
        dialog.SetResultTarget(&result);
        dialog.show();
        dialog.EdServerName->setText(serverName(silent.port()));
        dialog.EdDatabaseName->setText(QStringLiteral("fixture"));
        dialog.EdLogin->setText(QStringLiteral("corvane"));
        dialog.EdPassword->setText(QStringLiteral("secret"));
        QElapsedTimer clock;
        clock.start();
        QTest::mouseClick(dialog.Button3, Qt::LeftButton);
        QVERIFY2(clock.elapsed() < 1000, "the login was tried on the window's thread");
        int ticks = 0;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
        ticker.start(50);
        QTRY_VERIFY_WITH_TIMEOUT(ticks >= 10, 2000);
        QVERIFY(dialog.isTesting());
        QVERIFY(!dialog.Button3->isEnabled());
        dialog.testConnection();

        clock.restart();
        QTest::mouseClick(dialog.Button2, Qt::LeftButton);
        QVERIFY(clock.elapsed() < 1000);
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(dialogs.shown.isEmpty());
        QVERIFY(result.isEmpty());
    }

    // The whole road: dialog, string, the window's own connection, the
    // schema query, the tree and the column facts.
    void loginLoadsTheTree()
    {
        test::FakeDialogs dialogs;
        TMainF window(&db::MakeOdbcConnection);
        window.setDialogRunner([this](QDialog& dialog) {
            if (auto* login = qobject_cast<TLoginF*>(&dialog)) {
                test::logInToFixture(*login, m_server->port());
            }
            return dialog.result();
        });
        m_server->clearBatches();
        window.FormCreate();
        QVERIFY(QTest::qWaitFor([&] { return !window.isBusy(); }, 10000));
        QCOMPARE(dialogs.texts(), QStringList{Succeeded});
        QCOMPARE(window.workspace().connectionString(), m_server->connectionString());
        QVERIFY(window.MyPageControl1->isEnabled());

        const SchemaTreeModel* model = window.treeModel();
        QCOMPARE(model->indexOf(0).data().toString(), QStringLiteral("fixture"));
        QCOMPARE(model->rowCount(model->indexOf(0)), 4);
        QCOMPARE(model->indexOf(4).data().toString(), QStringLiteral("dbo.Orders"));
        QCOMPARE(window.workspace().catalogue().size(), 19);
        // The schema, then the column facts for the check.
        const QStringList batches = m_server->batches();
        QVERIFY(batches.size() >= 2);
        QVERIFY(batches.at(batches.size() - 2).contains(QStringLiteral("INFORMATION_SCHEMA.TABLES")));
        QCOMPARE(batches.constLast(), check::FactsQuery());

        window.TreeView1->setCurrentIndex(model->indexOf(6)); // dbo.Orders.CityCode
        QCOMPARE(window.workspace().currentTable(), QStringLiteral("dbo.Orders"));
        QCOMPARE(window.VList->rowCount(), 7);
        QCOMPARE(window.VList->item(5, 1)->text(), QStringLiteral("Code"));
        window.TreeView1->setCurrentIndex(model->indexOf(9)); // dbo.Orders.Note
        QCOMPARE(window.VList->item(1, 1)->text(), QStringLiteral("-1"));
    }

    // While the server holds the schema query the window goes on handling
    // events, shows that it is busy, and refuses a second Login instead of
    // queueing it; the tree arrives when the server answers.
    void windowStaysResponsiveDuringTheLoad()
    {
        QByteArray rules = test::shopSchemaRules();
        rules.replace(R"({"match": "INFORMATION_SCHEMA.TABLES",)",
                      R"({"match": "INFORMATION_SCHEMA.TABLES", "stall": 2,)");
        TdsServer server(TdsServer::defaultFixture(rules));
        QVERIFY(server.started());
        test::FakeDialogs dialogs;
        TMainF window(&db::MakeOdbcConnection);
        int logins = 0;
        window.setDialogRunner([&](QDialog& dialog) {
            if (auto* login = qobject_cast<TLoginF*>(&dialog)) {
                ++logins;
                test::logInToFixture(*login, server.port());
            }
            return dialog.result();
        });
        window.show();
        QElapsedTimer clock;
        clock.start();
        window.FormCreate();
        QVERIFY2(clock.elapsed() < 1500, "the schema was read on the window's thread");
        QVERIFY(window.isBusy());

        bool ticked = false;
        QTimer::singleShot(50, &window, [&] { ticked = true; });
        QTRY_VERIFY_WITH_TIMEOUT(ticked, 1000);
        QVERIFY(window.isBusy());
        QAction* login = window.findChild<QAction*>(QStringLiteral("Login1"));
        QVERIFY(!login->isEnabled());
        window.Button1Click();
        QCOMPARE(logins, 1);

        QVERIFY(QTest::qWaitFor([&] { return !window.isBusy(); }, 10000));
        QVERIFY(login->isEnabled());
        QCOMPARE(window.workspace().catalogue().size(), 19);
        QCOMPARE(window.treeModel()->indexOf(0).data().toString(), QStringLiteral("fixture"));
    }
};

QTEST_MAIN(TestMainFTds)
#include "test_mainf_tds.moc"

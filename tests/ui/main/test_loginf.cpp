#include "db/connectionstring.h"
#include "tests/support/clipping.h"
#include "tests/support/fakeconnection.h"
#include "tests/support/fakedialogs.h"
#include "tests/support/testlocale.h"
#include "tests/ui/main/logintest.h"
#include "ui/main/loginf.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QSemaphore>
#include <QTest>
#include <QTimer>

#include <atomic>

using namespace corvane;

namespace {

void fill(TLoginF& dialog, const QString& server, const QString& database, const QString& login,
          const QString& password)
{
    dialog.EdServerName->setText(server);
    dialog.EdDatabaseName->setText(database);
    dialog.EdLogin->setText(login);
    dialog.EdPassword->setText(password);
}

QString expectedString(const QString& password, const QString& login, const QString& database,
                       const QString& server)
{
    return QStringLiteral(" Provider=SQLOLEDB.1;Password=") + password +
           QStringLiteral(";Persist Security Info=True;User ID=") + login +
           QStringLiteral(";  Initial Catalog=") + database + QStringLiteral(";Data Source=") +
           server +
           QStringLiteral("; Use Procedure for Prepare=1;  Auto Translate=True;Packet "
                          "Size=4096;Workstation ID=") +
           db::ComputerName() +
           QStringLiteral(";  Use Encryption for Data=False;Tag with column collation when "
                          "possible=False");
}

// A dialog on a fake server with its four fields filled in.
struct FilledDialog
{
    test::FakeServer fake;
    test::FakeDialogs dialogs;
    QString result;
    TLoginF dialog{fake.factory()};

    FilledDialog()
    {
        dialog.SetResultTarget(&result);
        dialog.show();
        fill(dialog, QStringLiteral("srv"), QStringLiteral("db"), QStringLiteral("sa"),
             QStringLiteral("pw"));
    }
};

// A server whose logins wait at a gate until the test opens it. The counts
// are kept by the worker threads that run the logins.
class GatedServer
{
public:
    QSemaphore gate;
    std::atomic<int> logins = 0; // begun
    std::atomic<int> ended = 0;  // connections gone

    db::ConnectionFactory factory()
    {
        return [this] { return std::make_unique<Connection>(*this); };
    }

private:
    class Connection final : public db::Connection
    {
    public:
        explicit Connection(GatedServer& server) : m_server(server) {}
        ~Connection() override { ++m_server.ended; }
        Status open(const QString& connectionString) override
        {
            return open(connectionString, {}, {});
        }
        Status open(const QString&, const QString&, const QString&) override
        {
            ++m_server.logins;
            m_open = m_server.gate.tryAcquire(1, 10000);
            return m_open ? Status() : Error::failure(QStringLiteral("Login timeout expired"));
        }
        void close() override { m_open = false; }
        bool isOpen() const override { return m_open; }
        Result<QString> databaseName() override { return QStringLiteral("db"); }
        Result<std::unique_ptr<db::Query>> query(const QString&) override
        {
            return Error::failure(QStringLiteral("not here"));
        }
        Status execute(const QString&) override { return {}; }
        void setLoginTimeout(int) override {}
        void setCommandTimeout(int) override {}

    private:
        GatedServer& m_server;
        bool m_open = false;
    };
};

} // namespace

class TestLoginF : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { test::useTestLocale(); }

    void layout()
    {
        test::FakeServer server;
        TLoginF dialog(server.factory());
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Corvane"));
        for (const char* name : {"EdServerName", "EdDatabaseName", "EdLogin", "EdPassword"}) {
            auto* edit = dialog.findChild<QLineEdit*>(QLatin1String(name));
            QVERIFY2(edit, name);
            QVERIFY(edit->text().isEmpty());
        }
        QCOMPARE(dialog.EdPassword->echoMode(), QLineEdit::Password);
        QCOMPARE(dialog.findChild<QPushButton*>(QStringLiteral("Button3"))->text(),
                 QStringLiteral("Test connection"));
        QCOMPARE(dialog.Button1->text(), QStringLiteral("OK"));
        QCOMPARE(dialog.Button2->text(), QStringLiteral("Cancel"));
        QVERIFY(!dialog.Button1->isEnabled());
    }

    // Every caption fits at its smallest, with a font of any size.
    void captionsFit_data() { test::addFontScales(); }
    void captionsFit()
    {
        QFETCH(qreal, scale);
        test::LargerFont font(scale);
        test::FakeServer server;
        TLoginF dialog(server.factory());
        dialog.show();
        dialog.resize(dialog.minimumSizeHint());
        QCoreApplication::processEvents();
        QCOMPARE(test::clippedCaptions(&dialog), QStringList());
    }

    void requiredFields_data()
    {
        QTest::addColumn<QString>("server");
        QTest::addColumn<QString>("database");
        QTest::addColumn<QString>("login");
        QTest::newRow("all empty") << QString() << QString() << QString();
        QTest::newRow("no server") << QString() << QStringLiteral("db") << QStringLiteral("sa");
        QTest::newRow("no database") << QStringLiteral("srv") << QString() << QStringLiteral("sa");
        QTest::newRow("no login") << QStringLiteral("srv") << QStringLiteral("db") << QString();
    }

    // A missing field stops before any connection is tried, also after an
    // earlier success.
    void requiredFields()
    {
        QFETCH(QString, server);
        QFETCH(QString, database);
        QFETCH(QString, login);
        for (const bool testedBefore : {false, true}) {
            test::FakeServer fake;
            test::FakeDialogs dialogs;
            TLoginF dialog(fake.factory());
            if (testedBefore) {
                fill(dialog, QStringLiteral("srv"), QStringLiteral("db"), QStringLiteral("sa"), {});
                QVERIFY(test::testAndWait(dialog));
                fake.opened.clear();
                dialogs.shown.clear();
            }
            fill(dialog, server, database, login, QStringLiteral("secret"));
            QTest::mouseClick(dialog.Button3, Qt::LeftButton);
            QCOMPARE(dialogs.texts(),
                     QStringList{QStringLiteral("message: All fields are required !")});
            QVERIFY(fake.opened.isEmpty());
            QVERIFY(!dialog.Button1->isEnabled());
        }
    }

    void connectionString_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("expected");
        QTest::newRow("empty password is allowed")
            << QString()
            << expectedString({}, QStringLiteral("sa"), QStringLiteral("Shop"),
                              QStringLiteral("db1\\SQL"));
        QTest::newRow("plain password")
            << QStringLiteral("p@ss w0rd")
            << expectedString(QStringLiteral("p@ss w0rd"), QStringLiteral("sa"),
                              QStringLiteral("Shop"), QStringLiteral("db1\\SQL"));
        // Inserted as typed, the ';' would end the password and start a
        // setting of its own.
        QTest::newRow("password with a semicolon is quoted")
            << QStringLiteral("a;Data Source=evil")
            << expectedString(QStringLiteral("\"a;Data Source=evil\""), QStringLiteral("sa"),
                              QStringLiteral("Shop"), QStringLiteral("db1\\SQL"));
    }

    void connectionString()
    {
        QFETCH(QString, password);
        QFETCH(QString, expected);
        test::FakeServer fake;
        test::FakeDialogs dialogs;
        QString result;
        TLoginF dialog(fake.factory());
        dialog.SetResultTarget(&result);
        fill(dialog, QStringLiteral("db1\\SQL"), QStringLiteral("Shop"), QStringLiteral("sa"),
             password);
        QTest::mouseClick(dialog.Button3, Qt::LeftButton);
        QVERIFY(test::waitForTest(dialog));
        QCOMPARE(fake.opened, QStringList{expected});
        QCOMPARE(dialogs.texts(),
                 QStringList{QStringLiteral("message: Test connection succeeded.")});
        QCOMPARE(fake.openConnections, 0); // the test connection is not kept
        QTest::mouseClick(dialog.Button1, Qt::LeftButton);
        QCOMPARE(result, expected);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }

    // "OK" follows the most recent test only.
    void okFollowsTheLastTest()
    {
        FilledDialog f;
        auto& [fake, dialogs, result, dialog] = f;

        fake.refuseOpen = QStringLiteral("Login failed for user 'sa'.");
        QVERIFY(test::testAndWait(dialog));
        QVERIFY(!dialog.Button1->isEnabled());
        fake.refuseOpen.clear();
        QVERIFY(test::testAndWait(dialog));
        QVERIFY(dialog.Button1->isEnabled());
        fake.refuseOpen = QStringLiteral("Cannot open database");
        QVERIFY(test::testAndWait(dialog));
        QVERIFY(!dialog.Button1->isEnabled());
        // The server's reason goes under the fixed first line, in the error box.
        QCOMPARE(dialogs.texts(),
                 QStringList({QStringLiteral("error: Connection failed.\nLogin failed for user 'sa'."),
                              QStringLiteral("message: Test connection succeeded."),
                              QStringLiteral("error: Connection failed.\nCannot open database")}));
        dialog.Button1Click();
        QVERIFY(result.isEmpty());
        QVERIFY(dialog.isVisible() || dialog.result() != int(QDialog::Accepted));
    }

    // Any edit after a successful test asks for a new one: "OK" never hands
    // over values other than those shown.
    void editAfterTestDisablesOk_data()
    {
        QTest::addColumn<QString>("field");
        QTest::newRow("server") << QStringLiteral("EdServerName");
        QTest::newRow("database") << QStringLiteral("EdDatabaseName");
        QTest::newRow("login") << QStringLiteral("EdLogin");
        QTest::newRow("password") << QStringLiteral("EdPassword");
    }
    void editAfterTestDisablesOk()
    {
        QFETCH(QString, field);
        FilledDialog f;
        auto& [fake, dialogs, result, dialog] = f;
        QVERIFY(test::testAndWait(dialog));
        QVERIFY(dialog.Button1->isEnabled());

        auto* edit = dialog.findChild<QLineEdit*>(field);
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_X);
        QVERIFY(!dialog.Button1->isEnabled());
        dialog.Button1Click();
        QVERIFY(result.isEmpty());

        // Testing the shown values again makes them confirmable.
        QVERIFY(test::testAndWait(dialog));
        QVERIFY(dialog.Button1->isEnabled());
        dialog.Button1Click();
        QCOMPARE(result, fake.opened.constLast());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }

    // Enter tests the typed values, and once they passed, confirms them.
    void enterPressesTheNextStep()
    {
        FilledDialog f;
        auto& [fake, dialogs, result, dialog] = f;
        dialog.EdPassword->setFocus();
        QTest::keyClick(dialog.EdPassword, Qt::Key_Return);
        QVERIFY(test::waitForTest(dialog));
        QCOMPARE(fake.opened.size(), 1);
        QVERIFY(result.isEmpty());
        QTest::keyClick(dialog.EdPassword, Qt::Key_Return);
        QCOMPARE(fake.opened.size(), 1);
        QCOMPARE(result, fake.opened.constLast());
    }

    // The test runs off the dialog's thread: the dialog handles events, shows
    // that it is testing and refuses a second test (click, Enter or call)
    // instead of queueing it. The answer enables OK only while the values
    // shown are those tested.
    void testRunsOffTheDialogsThread_data()
    {
        QTest::addColumn<QList<int>>("typed"); // keys typed into the password meanwhile
        QTest::addColumn<bool>("confirmable");
        QTest::newRow("no edit") << QList<int>() << true;
        QTest::newRow("edit") << QList<int>{Qt::Key_X} << false;
        QTest::newRow("edit undone") << QList<int>{Qt::Key_X, Qt::Key_Backspace} << true;
    }
    void testRunsOffTheDialogsThread()
    {
        QFETCH(QList<int>, typed);
        QFETCH(bool, confirmable);
        GatedServer server;
        test::FakeDialogs dialogs;
        QString result;
        TLoginF dialog(server.factory());
        dialog.SetResultTarget(&result);
        dialog.show();
        fill(dialog, QStringLiteral("srv"), QStringLiteral("db"), QStringLiteral("sa"),
             QStringLiteral("pw"));

        QTest::mouseClick(dialog.Button3, Qt::LeftButton);
        QVERIFY(dialog.isTesting());
        QTRY_COMPARE(server.logins.load(), 1);
        bool ticked = false;
        QTimer::singleShot(0, &dialog, [&] { ticked = true; });
        QTRY_VERIFY(ticked);
        QVERIFY(!dialog.Button3->isEnabled());
        QCOMPARE(dialog.Button3->text(), QStringLiteral("Testing…"));
        QCOMPARE(dialog.cursor().shape(), Qt::BusyCursor);
        QVERIFY(!dialog.Button1->isEnabled());

        dialog.testConnection();
        QTest::mouseClick(dialog.Button3, Qt::LeftButton);
        dialog.EdPassword->setFocus();
        QTest::keyClick(dialog.EdPassword, Qt::Key_Return);
        for (const int key : typed)
            QTest::keyClick(dialog.EdPassword, Qt::Key(key));
        QVERIFY(dialog.isTesting());
        QVERIFY(dialogs.shown.isEmpty());

        server.gate.release();
        QVERIFY(test::waitForTest(dialog));
        QCOMPARE(server.logins.load(), 1);
        QCOMPARE(dialogs.texts(),
                 QStringList{QStringLiteral("message: Test connection succeeded.")});
        QVERIFY(dialog.Button3->isEnabled());
        QCOMPARE(dialog.Button3->text(), QStringLiteral("Test connection"));
        QCOMPARE(dialog.cursor().shape(), Qt::ArrowCursor);
        QCOMPARE(dialog.Button1->isEnabled(), confirmable);
        dialog.Button1Click();
        QCOMPARE(result.isEmpty(), !confirmable);
    }

    // Closing the dialog while a login waits neither waits for it nor lets
    // its answer reach the dialog, whether still there or gone.
    void closeWhileTesting_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("Cancel") << QStringLiteral("Cancel");
        QTest::newRow("window frame") << QStringLiteral("frame");
        QTest::newRow("destroyed") << QStringLiteral("destroyed");
    }
    void closeWhileTesting()
    {
        QFETCH(QString, how);
        GatedServer server;
        test::FakeDialogs dialogs;
        QString result;
        auto dialog = std::make_unique<TLoginF>(server.factory());
        dialog->SetResultTarget(&result);
        dialog->show();
        fill(*dialog, QStringLiteral("srv"), QStringLiteral("db"), QStringLiteral("sa"),
             QStringLiteral("pw"));
        dialog->testConnection();
        QTRY_COMPARE(server.logins.load(), 1);

        QElapsedTimer clock;
        clock.start();
        if (how == u"Cancel")
            QTest::mouseClick(dialog->Button2, Qt::LeftButton);
        else if (how == u"frame")
            dialog->close();
        else
            dialog.reset();
        QVERIFY(clock.elapsed() < 1000);
        if (dialog) {
            QCOMPARE(dialog->result(), int(QDialog::Rejected));
            QVERIFY(!dialog->isTesting());
            QVERIFY(dialog->Button3->isEnabled());
        }

        server.gate.release();
        QTRY_COMPARE(server.ended.load(), 1); // the login ended on its worker
        QTest::qWait(20);                     // room for an answer to arrive
        QVERIFY(dialogs.shown.isEmpty());
        QVERIFY(result.isEmpty());
    }

    // A driver that repeats the password in its reason does not show it.
    void reasonMasksThePassword()
    {
        QCOMPARE(TLoginF::failureText(Error::failure(QStringLiteral("bad PWD=hunter2;")),
                                      QStringLiteral("hunter2")),
                 QStringLiteral("Connection failed.\nbad PWD=***;"));
        QCOMPARE(TLoginF::failureText(Error::failure(QStringLiteral("Login failed for user 'sa'.")),
                                      QStringLiteral("a")),
                 QStringLiteral("Connection failed.\nLogin failed for user 'sa'."));
        QCOMPARE(TLoginF::failureText(Error::failure(QString()), QString()),
                 QStringLiteral("Connection failed."));
    }

    void rememberedFields()
    {
        test::FakeServer fake;
        TLoginF dialog(fake.factory());
        dialog.show();
        dialog.setFields(QStringLiteral("srv"), QStringLiteral("db"), QStringLiteral("sa"));
        QCOMPARE(dialog.EdLogin->text(), QStringLiteral("sa"));
        QVERIFY(dialog.EdPassword->text().isEmpty());
        QVERIFY(!dialog.Button1->isEnabled());
        QCOMPARE(dialog.focusWidget(), dialog.EdPassword);
    }

    void cancelWritesNothing_data()
    {
        QTest::addColumn<bool>("byFrame");
        QTest::newRow("Cancel") << false;
        QTest::newRow("window frame") << true;
    }

    void cancelWritesNothing()
    {
        QFETCH(bool, byFrame);
        FilledDialog f;
        auto& [fake, dialogs, result, dialog] = f;
        QVERIFY(test::testAndWait(dialog));
        QVERIFY(dialog.Button1->isEnabled());
        if (byFrame)
            dialog.close();
        else
            QTest::mouseClick(dialog.Button2, Qt::LeftButton);
        QVERIFY(result.isEmpty());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
    }

    // The last attempt is remembered, but a new dialog starts empty and cannot
    // confirm the earlier dialog's connection.
    void newDialogStartsEmpty()
    {
        test::FakeServer fake;
        test::FakeDialogs dialogs;
        {
            TLoginF first(fake.factory());
            fill(first, QStringLiteral("srv"), QStringLiteral("db"), QStringLiteral("sa"),
                 QStringLiteral("pw"));
            QVERIFY(test::testAndWait(first));
        }
        QString result;
        TLoginF second(fake.factory());
        second.SetResultTarget(&result);
        QVERIFY(second.EdServerName->text().isEmpty());
        QVERIFY(second.EdPassword->text().isEmpty());
        QVERIFY(!second.Button1->isEnabled());
        second.Button1Click();
        QVERIFY(result.isEmpty());
    }
};

QTEST_MAIN(TestLoginF)
#include "test_loginf.moc"

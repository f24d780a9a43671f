#include "check/checkstate.h"
#include "run/runsqlf.h"
#include "tests/support/fakeconnection.h"
#include "tests/support/fakedialogs.h"
#include "tests/support/testlocale.h"
#include "tests/support/workspace.h"

#include <QLabel>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <atomic>

#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace corvane;
using corvane::test::FakeDialogs;
using corvane::test::FakeServer;

namespace {

TColumnRec column(const QString& col, MethodCode method, const QString& param1 = {})
{
    TColumnRec slot;
    slot.stab = QStringLiteral("dbo.T");
    slot.col = col;
    slot.method = method;
    slot.param1 = param1;
    return slot;
}

std::unique_ptr<Workspace> stateWith(const db::ConnectionFactory& connect,
                                     const QList<TColumnRec>& columns)
{
    auto state = std::make_unique<Workspace>(connect);
    TData catalogue = {TColumnRec{}, TColumnRec{}};
    catalogue.append(QVector<TColumnRec>(columns.cbegin(), columns.cend()));
    test::load(*state, catalogue, QStringLiteral("Data Source=db1,1433;Initial Catalog=fixture"));
    return state;
}

// Lets a test look at the page each time a batch reaches the server, on the
// runner's worker thread; a hook may hold the batch until cancel() is called.
class WatchedConnection final : public db::Connection
{
public:
    WatchedConnection(std::unique_ptr<db::Connection> inner,
                      std::function<void(const QString&)> hook)
        : m_inner(std::move(inner)), m_hook(std::move(hook))
    {
    }
    Status open(const QString& s) override { return m_inner->open(s); }
    Status open(const QString& s, const QString& u, const QString& p) override
    {
        return m_inner->open(s, u, p);
    }
    void close() override { m_inner->close(); }
    bool isOpen() const override { return m_inner->isOpen(); }
    Result<QString> databaseName() override { return m_inner->databaseName(); }
    Result<std::unique_ptr<db::Query>> query(const QString& sql) override
    {
        return m_inner->query(sql);
    }
    Status execute(const QString& sql) override
    {
        m_hook(sql);
        if (m_cancelled.exchange(false))
            return Error::failure(QStringLiteral("Operation cancelled"));
        return m_inner->execute(sql);
    }
    void cancel() override
    {
        m_cancelled = true;
        gate().release();
    }
    // What a held batch waits on.
    static QSemaphore& gate()
    {
        static QSemaphore semaphore;
        return semaphore;
    }
    void setLoginTimeout(int s) override { m_inner->setLoginTimeout(s); }
    void setCommandTimeout(int s) override { m_inner->setCommandTimeout(s); }

private:
    std::unique_ptr<db::Connection> m_inner;
    std::function<void(const QString&)> m_hook;
    std::atomic<bool> m_cancelled = false;
};

const QString successA = QStringLiteral(" Anonymisation table dbo.T column [a] - successful ");
const QString successB = QStringLiteral(" Anonymisation table dbo.T column [b] - successful ");

} // namespace

class TestRunSQLF : public QObject
{
    Q_OBJECT

    QPlainTextEdit* memo(TRunSQLF& page)
    {
        return page.findChild<QPlainTextEdit*>(QStringLiteral("Memo1"));
    }
    QPushButton* button(TRunSQLF& page, const char* name = "Button7")
    {
        return page.findChild<QPushButton*>(QLatin1String(name));
    }
    QProgressBar* progress(TRunSQLF& page)
    {
        return page.findChild<QProgressBar*>(QStringLiteral("ProgressBar1"));
    }
    // Until the page has shown the end of the run.
    bool waitForEnd(TRunSQLF& page)
    {
        return QTest::qWaitFor([&] { return !page.isRunning() && button(page)->isEnabled(); }, 5000);
    }

    // A connection whose batches matching `held` wait for a cancel.
    db::ConnectionFactory holding(FakeServer& server, const QString& held, QStringList* sent = nullptr)
    {
        return [&server, held, sent]() -> std::unique_ptr<db::Connection> {
            return std::make_unique<WatchedConnection>(server.connect(), [held, sent](const QString& sql) {
                if (sent)
                    sent->append(sql);
                if (!held.isEmpty() && sql.contains(held))
                    WatchedConnection::gate().acquire();
            });
        };
    }

private slots:
    void initTestCase() { test::useTestLocale(); }

    void controls()
    {
        TRunSQLF page;
        QCOMPARE(page.windowTitle(), QStringLiteral("RunSQLF"));
        QVERIFY(page.findChild<QWidget*>(QStringLiteral("Panel2")));
        QVERIFY(memo(page) && button(page) && progress(page));
        QCOMPARE(button(page)->text(), QStringLiteral("Run SQL"));
        QCOMPARE(button(page, "BtStop")->text(), QStringLiteral("Stop"));
        QVERIFY(!button(page, "BtStop")->isEnabled());
        QVERIFY(memo(page)->toPlainText().isEmpty());
    }

    // The confirmation names the target; only "Run" starts, and a cancel
    // sends nothing at all.
    void confirmationNamesTheTarget()
    {
        FakeDialogs dialogs;
        FakeServer server;
        auto state = stateWith(server.factory(),
                               {column(QStringLiteral("a"), 109), column(QStringLiteral("b"), 0),
                                column(QStringLiteral("c"), 102, QStringLiteral("5"))});
        TRunSQLF page;
        page.SetSource(*state);
        dialogs.confirmAnswers.enqueue(false);
        button(page)->click();
        QCOMPARE(dialogs.texts(),
                 QStringList({QStringLiteral("confirm Run: Masking 2 columns in 1 table of database "
                                             "[fixture] on server [db1,1433].\n\nThe data of these "
                                             "columns is changed on the server and cannot be "
                                             "restored.")}));
        QVERIFY(!page.isRunning());
        QVERIFY(server.opened.isEmpty());

        dialogs.shown.clear();
        button(page)->click();
        QVERIFY(waitForEnd(page));
        QCOMPARE(server.sent.size(), 4); // install, two columns, drop
        QCOMPARE(memo(page)->toPlainText(),
                 QStringList({QStringLiteral("Masking 2 columns in 1 table of database [fixture] on "
                                             "server [db1,1433]."),
                              successA, QStringLiteral(" Anonymisation table dbo.T column [c] - successful ")})
                     .join(u'\n'));
        QCOMPARE(dialogs.texts().last(), QStringLiteral("information: Finished !"));
        QCOMPARE(progress(page)->text(), QStringLiteral("2 of 2 columns"));
    }

    // Errors found: the operator is asked before the target's confirmation;
    // No runs nothing, Yes runs and the log says what was confirmed.
    void errorsAskBeforeTheRun()
    {
        FakeDialogs dialogs;
        FakeServer server;
        Workspace state(server.factory());
        check::CheckState check(state);
        check::Facts facts;
        check::TableFacts& table = facts.table(QStringLiteral("dbo"), QStringLiteral("T"));
        table.rows = 3;
        table.columns[QStringLiteral("a")].type = QStringLiteral("int");
        table.columns[QStringLiteral("a")].nullable = false;
        check.setNextFacts(facts);
        TColumnRec a = column(QStringLiteral("a"), 109);
        a.schema = QStringLiteral("dbo");
        a.tab = QStringLiteral("T");
        test::load(state, {TColumnRec{}, TColumnRec{}, a},
                   QStringLiteral("Data Source=db1,1433;Initial Catalog=fixture"));
        TRunSQLF page;
        page.SetSource(state);
        page.SetCheck(check);

        const QString question = QStringLiteral(
            "confirm Run SQL: The check found 1 error, 0 warnings: the server will refuse the "
            "columns with errors (see the Check column). Run SQL anyway?");
        dialogs.confirmAnswers.enqueue(false);
        button(page)->click();
        QCOMPARE(dialogs.texts(), QStringList{question});
        QVERIFY(!page.isRunning());
        QVERIFY(server.opened.isEmpty());

        dialogs.shown.clear();
        button(page)->click();
        QVERIFY(waitForEnd(page));
        QCOMPARE(dialogs.texts().mid(0, 2).join(u'|'),
                 question + QStringLiteral("|confirm Run: Masking 1 column in 1 table of database "
                                           "[fixture] on server [db1,1433].\n\nThe data of these "
                                           "columns is changed on the server and cannot be restored."));
        QCOMPARE(memo(page)->toPlainText().split(u'\n').value(1),
                 QStringLiteral("The check found 1 error, 0 warnings; run as confirmed."));
    }

    void emptyRunSendsNothing()
    {
        FakeDialogs dialogs;
        FakeServer server;
        auto state = stateWith(server.factory(), {column(QStringLiteral("a"), 0)});
        TRunSQLF page;
        page.SetSource(*state);
        button(page)->click();
        QCOMPARE(dialogs.texts(), QStringList({QStringLiteral(
                                      "information: No column is masked: there is nothing to run.")}));
        QVERIFY(!page.isRunning());
        QVERIFY(server.opened.isEmpty() && server.sent.isEmpty());
    }

    // While a batch is held: the log can be read, Stop is on, a second click
    // is refused and the status names the running column. Stop then ends the
    // column as FAILED with the stop's reason, sends no further column and
    // still drops the split function.
    void stopDuringABatch()
    {
        FakeDialogs dialogs;
        FakeServer server;
        QStringList sent;
        auto state = stateWith(holding(server, QStringLiteral("[b]"), &sent),
                               {column(QStringLiteral("a"), 109), column(QStringLiteral("b"), 109),
                                column(QStringLiteral("c"), 109)});
        TRunSQLF page;
        page.SetSource(*state);
        QSignalSpy running(&page, &TRunSQLF::runningChanged);
        button(page)->click();
        QTRY_COMPARE(sent.size(), 3); // install, a, b held
        QTRY_VERIFY(memo(page)->toPlainText().contains(successA));
        QVERIFY(page.isRunning());
        QVERIFY(button(page, "BtStop")->isEnabled());
        QVERIFY(!button(page)->isEnabled());
        QTRY_VERIFY(page.findChild<QLabel*>(QStringLiteral("LaStatus"))
                        ->text()
                        .contains(QStringLiteral("1 of 3 columns, elapsed 0:00:0")));
        QVERIFY(page.findChild<QLabel*>(QStringLiteral("LaStatus"))->text().endsWith(QStringLiteral(", now dbo.T [b]")));
        QCOMPARE(running.size(), 1);

        page.Button7Click(); // refused, not queued
        QCOMPARE(dialogs.shown.size(), 1);

        button(page, "BtStop")->click();
        QVERIFY(waitForEnd(page));
        QCOMPARE(sent.size(), 5); // the stopped column's cleanup, then the drop
        QCOMPARE(sent.at(3), QStringLiteral("if @@trancount>0 rollback transaction"));
        QVERIFY(sent.last().contains(QStringLiteral("drop function")));
        QVERIFY(!sent.join(u'|').contains(QStringLiteral("[c]")));
        QVERIFY(memo(page)->toPlainText().endsWith(
            QStringLiteral(" Anonymisation table dbo.T column [b] - FAILED \n     Stopped by the operator.")));
        QCOMPARE(dialogs.texts().last(),
                 QStringLiteral("warning: Stopped by the operator: 1 of 3 columns succeeded, 1 failed, 1 not run."));
        QCOMPARE(running.size(), 2);
        QVERIFY(button(page)->isEnabled());
        QVERIFY(!button(page, "BtStop")->isEnabled());
    }

    // A run with a failed column does not claim to have finished well.
    void mixedRunEndsWithAWarning()
    {
        FakeDialogs dialogs;
        FakeServer server;
        server.fail(QStringLiteral("[b]"), QStringLiteral("Invalid column name 'b'."));
        auto state = stateWith(server.factory(),
                               {column(QStringLiteral("a"), 109), column(QStringLiteral("b"), 109)});
        TRunSQLF page;
        page.SetSource(*state);
        button(page)->click();
        QVERIFY(waitForEnd(page));
        QCOMPARE(dialogs.texts().last(),
                 QStringLiteral("warning: Finished with failures: 1 of 2 columns succeeded, 1 failed."));
        QCOMPARE(progress(page)->text(), QStringLiteral("2 of 2 columns, 1 failed"));
        QVERIFY(progress(page)->styleSheet().contains(QStringLiteral("chunk")));

        // The next, clean run clears the log and the failure's colour.
        server.rules.clear();
        button(page)->click();
        QVERIFY(waitForEnd(page));
        QCOMPARE(memo(page)->toPlainText().count(u'\n'), 2);
        QVERIFY(progress(page)->styleSheet().isEmpty());
    }

    // A run that cannot remove the split function shows why and keeps its log.
    void dropFailing()
    {
        FakeDialogs dialogs;
        FakeServer server;
        const QString inUse = QStringLiteral("Cannot drop the function 'dbo.corvane_split'.");
        server.fail(QStringLiteral("drop function"), inUse);
        auto state = stateWith(server.factory(), {column(QStringLiteral("a"), 109)});
        TRunSQLF page;
        page.SetSource(*state);
        page.Button7Click();
        QVERIFY(waitForEnd(page));
        QCOMPARE(dialogs.texts().last(), QStringLiteral("error: ") + inUse);
        QVERIFY(memo(page)->toPlainText().endsWith(successA));
        QVERIFY(button(page)->isEnabled());
    }

    void saveLog()
    {
        FakeDialogs dialogs;
        FakeServer server;
        auto state = stateWith(server.factory(), {column(QStringLiteral("a"), 109)});
        TRunSQLF page;
        page.SetSource(*state);
        page.Button7Click();
        QVERIFY(waitForEnd(page));
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("run.txt"));
        dialogs.fileAnswers.enqueue(path);
        button(page, "BtSaveLog")->click();
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), (memo(page)->toPlainText().replace(u'\n', QStringLiteral("\r\n")) +
                                  QStringLiteral("\r\n")).toUtf8());
    }
};

QTEST_MAIN(TestRunSQLF)
#include "test_runsqlf.moc"

#include "run/runsqlf.h"
#include "tests/support/fakeconnection.h"
#include "tests/support/fakedialogs.h"
#include "tests/support/testlocale.h"

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

SharedState stateWith(const db::ConnectionFactory& connect, const QList<TColumnRec>& columns)
{
    SharedState state;
    state.ColumnCatalogue = {TColumnRec{}, TColumnRec{}};
    state.ColumnCatalogue.append(QVector<TColumnRec>(columns.cbegin(), columns.cend()));
    state.ConnectionString = QStringLiteral("Initial Catalog=fixture");
    state.CatalogueConnectionString = state.ConnectionString;
    state.connect = connect;
    return state;
}

// Lets a test look at the page each time a batch reaches the server.
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
        return m_inner->execute(sql);
    }
    void setLoginTimeout(int s) override { m_inner->setLoginTimeout(s); }
    void setCommandTimeout(int s) override { m_inner->setCommandTimeout(s); }

private:
    std::unique_ptr<db::Connection> m_inner;
    std::function<void(const QString&)> m_hook;
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
    QPushButton* button(TRunSQLF& page)
    {
        return page.findChild<QPushButton*>(QStringLiteral("Button7"));
    }
    QProgressBar* progress(TRunSQLF& page)
    {
        return page.findChild<QProgressBar*>(QStringLiteral("ProgressBar1"));
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
        QVERIFY(memo(page)->toPlainText().isEmpty());
    }

    // Each line is on the page, and the window has had its events, before
    // the next batch leaves.
    void linesShowWhileTheRunGoesOn()
    {
        FakeDialogs dialogs;
        FakeServer server;
        TRunSQLF page;
        QStringList seen;
        bool timerFired = false;
        auto connect = [&]() -> std::unique_ptr<db::Connection> {
            return std::make_unique<WatchedConnection>(server.connect(), [&](const QString&) {
                seen << memo(page)->toPlainText();
                QVERIFY(!button(page)->isEnabled());
                if (seen.size() == 2) // the first column's batch
                    QTimer::singleShot(0, &page, [&] { timerFired = true; });
                if (seen.size() == 3)
                    QVERIFY(timerFired);
            });
        };
        SharedState state = stateWith(
            connect, {column(QStringLiteral("a"), 109), column(QStringLiteral("b"), 109)});
        page.SetSource(state);
        page.show();
        button(page)->click();

        QCOMPARE(seen.size(), 4);
        QCOMPARE(seen.at(2), successA);
        QVERIFY(timerFired);
        QCOMPARE(memo(page)->toPlainText(), QStringList({successA, successB}).join(u'\n'));
        QCOMPARE(progress(page)->text(), QStringLiteral("2 of 2 columns"));
        QCOMPARE(dialogs.texts(), QStringList({QStringLiteral("information: Finished !")}));
        QVERIFY(button(page)->isEnabled());
    }

    void secondRunClearsTheLog()
    {
        FakeDialogs dialogs;
        FakeServer server;
        server.fail(QStringLiteral("[b]"), QStringLiteral("Invalid column name 'b'."));
        SharedState state = stateWith(
            server.factory(), {column(QStringLiteral("a"), 109), column(QStringLiteral("b"), 109)});
        TRunSQLF page;
        page.SetSource(state);
        page.Button7Click();
        QCOMPARE(memo(page)->toPlainText().count(u'\n'), 2);

        state.ColumnCatalogue[3].method = 0;
        page.Button7Click();
        QCOMPARE(memo(page)->toPlainText(), successA);

        server.refuseOpen = QStringLiteral("Login failed for user 'corvane'.");
        page.Button7Click();
        QVERIFY(memo(page)->toPlainText().isEmpty());
        QCOMPARE(progress(page)->text(), QStringLiteral("0 of 1 columns"));
    }

    // A run that cannot remove the split function shows why, keeps its log
    // and does not claim to have finished.
    void dropFailing()
    {
        FakeDialogs dialogs;
        FakeServer server;
        const QString inUse = QStringLiteral("Cannot drop the function 'dbo.corvane_split'.");
        server.fail(QStringLiteral("drop function"), inUse);
        SharedState state = stateWith(server.factory(), {column(QStringLiteral("a"), 109)});
        TRunSQLF page;
        page.SetSource(state);
        page.Button7Click();
        QCOMPARE(dialogs.texts(), QStringList({QStringLiteral("error: ") + inUse}));
        QCOMPARE(memo(page)->toPlainText(), successA);
        QVERIFY(button(page)->isEnabled());
    }
};

QTEST_MAIN(TestRunSQLF)
#include "test_runsqlf.moc"

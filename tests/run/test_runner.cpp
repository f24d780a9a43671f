#include "tests/support/slots.h"
#include "run/batches.h"
#include "run/runner.h"
#include "script/generator.h"
#include "tests/support/fakeconnection.h"
#include "tests/support/testlocale.h"

#include <QDir>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QThread>
#include <QTemporaryDir>
#include <QtTest>

Q_DECLARE_METATYPE(corvane::TColumnRec)

using namespace corvane;
using corvane::test::column;
using corvane::test::FakeServer;

namespace {

// The database node, one table node, then the columns.
run::RunPlan stateWith(FakeServer& server, const QList<TColumnRec>& columns, std::int32_t seed = 1)
{
    run::RunPlan state;
    state.catalogue.append(TColumnRec{});
    state.catalogue.append(TColumnRec{});
    for (const TColumnRec& c : columns)
        state.catalogue.append(c);
    state.connectionString = QStringLiteral("Data Source=db1;Initial Catalog=fixture");
    state.seed = seed;
    state.connect = server.factory();
    return state;
}

QString batchOf(const TColumnRec& slot, std::int32_t seed)
{
    auto batch = run::BuildBatch(slot, seed);
    return batch ? *batch : QString();
}

const QString cleanup = QStringLiteral("if @@trancount>0 rollback transaction");

// Records the time-outs that the run sets on its connection.
class TimedConnection final : public db::Connection
{
public:
    TimedConnection(std::unique_ptr<db::Connection> inner, QList<int>& commandTimeouts)
        : m_inner(std::move(inner)), m_commandTimeouts(commandTimeouts)
    {
    }
    Status open(const QString& s) override { return m_inner->open(s); }
    Status open(const QString& s, const QString& u, const QString& p) override { return m_inner->open(s, u, p); }
    void close() override { m_inner->close(); }
    bool isOpen() const override { return m_inner->isOpen(); }
    Result<QString> databaseName() override { return m_inner->databaseName(); }
    Result<std::unique_ptr<db::Query>> query(const QString& sql) override { return m_inner->query(sql); }
    Status execute(const QString& sql) override { return m_inner->execute(sql); }
    void setLoginTimeout(int s) override { m_inner->setLoginTimeout(s); }
    void setCommandTimeout(int s) override
    {
        m_commandTimeouts << s;
        m_inner->setCommandTimeout(s);
    }

private:
    std::unique_ptr<db::Connection> m_inner;
    QList<int>& m_commandTimeouts;
};

struct Log
{
    QStringList lines;
    QList<QPair<int, int>> progress;

    explicit Log(run::Runner& runner)
    {
        QObject::connect(&runner, &run::Runner::lineAdded,
                         [this](const QString& l) { lines << l; });
        QObject::connect(&runner, &run::Runner::progressed, [this](int done, int columns) {
            progress.append({done, columns});
        });
    }
};

const QString install = run::SplitInstallationBatch();
const QString drop = QStringLiteral("drop function dbo.corvane_split");

} // namespace

class TestRunner : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { test::useTestLocale(); }

    void serverTexts()
    {
        const QString expected = QStringLiteral(
            "declare @split varchar(1000) \r\n"
            "set @split='  \r\n"
            "create FUNCTION dbo.corvane_split(@String nvarchar(max), @Delimiter char(1)) \r\n"
            "returns @Results TABLE (Items nvarchar(max)) \r\n"
            "as \r\n"
            "begin \r\n"
            "declare @index int \r\n"
            "declare @slice nvarchar(max) \r\n"
            "select @index = 1 \r\n"
            "if @String is null return \r\n"
            "while @index != 0 \r\n"
            "begin \r\n"
            "select @index = charindex(@Delimiter,@String) \r\n"
            "if @index !=0 \r\n"
            "select @slice = left(@String,@index - 1) \r\n"
            "else \r\n"
            "select @slice = @String \r\n"
            "insert into @Results(Items) values(@slice) \r\n"
            "select @String = right(@String,len(@String+N'x')-1 - @index) \r\n"
            "if len(@String+N'x')-1 = 0 break \r\n"
            "end return \r\n"
            "end ' \r\n"
            "if not exists(SELECT 1 FROM sys.objects WHERE object_id = "
            "OBJECT_ID(N'dbo.corvane_split') AND type = (N'TF')) \r\n"
            "exec  (@split) ");
        QCOMPARE(run::SplitInstallationBatch(), expected);
        QCOMPARE(run::SplitDropBatch(), drop);
    }

    void logLines_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("expected");
        const TColumnRec c =
            column(QStringLiteral("dbo.Order Lines"), QStringLiteral("unit price"), 102);
        QTest::newRow("success") << run::SuccessLine(c)
                                 << QStringLiteral(
                                        " Anonymisation table dbo.Order Lines column [unit "
                                        "price] - successful ");
        QTest::newRow("failed") << run::FailedLine(c)
                                << QStringLiteral(
                                       " Anonymisation table dbo.Order Lines column [unit "
                                       "price] - FAILED ");
        QTest::newRow("reason") << run::ReasonLine(Error::failure(
                                       QStringLiteral("Invalid column name 'x'."), 207))
                                << QStringLiteral("     Invalid column name 'x'.");
        QTest::newRow("several diagnostics stay on one line")
            << run::ReasonLine(Error::failure(
                   QStringLiteral("Conversion failed.\r\nThe statement has been terminated.\n")))
            << QStringLiteral("     Conversion failed. The statement has been terminated.");
        QTest::newRow("diagnostics without a full stop")
            << run::ReasonLine(Error{QStringLiteral("Timeout expired\nOperation was cancelled"),
                                     Error::Kind::Timeout, 0})
            << QStringLiteral("     Timeout expired; Operation was cancelled");
        QTest::newRow("time-out without text")
            << run::ReasonLine(Error{QString(), Error::Kind::Timeout, 0})
            << QStringLiteral("     The command timed out.");
    }
    void logLines()
    {
        QFETCH(QString, line);
        QFETCH(QString, expected);
        QCOMPARE(line, expected);
    }

    // Without a masked column nothing reaches the server.
    void noMaskedColumn_data()
    {
        QTest::addColumn<QList<MethodCode>>("methods");
        QTest::newRow("codes without a block")
            << QList<MethodCode>{NoMethodYet, 0, 100, 1000, 1006, 2000, 10, 3000};
        QTest::newRow("no column at all") << QList<MethodCode>{};
    }
    void noMaskedColumn()
    {
        QFETCH(QList<MethodCode>, methods);
        FakeServer server;
        QList<TColumnRec> columns;
        for (MethodCode m : methods)
            columns << column(QStringLiteral("dbo.T"), QString::number(m), m);
        run::RunPlan state = stateWith(server, columns);
        if (methods.isEmpty())
            state.catalogue.clear();
        run::Runner runner;
        Log log(runner);
        QVERIFY(runner.run(state).complete());
        // Nothing to do reaches no server: no connection, no split function.
        QVERIFY(server.sent.isEmpty());
        QVERIFY(server.opened.isEmpty());
        QVERIFY(log.lines.isEmpty());
        QCOMPARE(log.progress, (QList<QPair<int, int>>{{0, 0}}));
        QCOMPARE(server.openConnections, 0);
    }

    // A failed column is logged with the server's reason and the run goes on.
    void failedColumnDoesNotEndRun()
    {
        FakeServer server;
        server.fail(QStringLiteral("[gone]"), QStringLiteral("Invalid column name 'gone'."));
        const TColumnRec a =
            column(QStringLiteral("dbo.People"), QStringLiteral("age"), 102, QStringLiteral("5"));
        const TColumnRec b = column(QStringLiteral("dbo.People"), QStringLiteral("gone"), 109);
        const TColumnRec c = column(QStringLiteral("dbo.Orders"), QStringLiteral("price"), 2002,
                                    QStringLiteral("1.5"), QStringLiteral("2"));
        run::RunPlan state = stateWith(server, {a, b, c});
        state.catalogue.insert(4, TColumnRec{}); // the second table's node
        run::Runner runner;
        Log log(runner);
        const run::RunSummary summary = runner.run(state);
        QVERIFY(!summary.complete() && !summary.error && !summary.stopped);
        QCOMPARE(summary.columns, 3);
        QCOMPARE(summary.succeeded, 2);
        QCOMPARE(summary.failed, 1);

        QCOMPARE(server.sent,
                 QStringList({install, batchOf(a, 1), batchOf(b, 1), cleanup, batchOf(c, 1), drop}));
        QCOMPARE(
            log.lines,
            QStringList(
                {QStringLiteral(" Anonymisation table dbo.People column [age] - successful "),
                 QStringLiteral(" Anonymisation table dbo.People column [gone] - FAILED "),
                 QStringLiteral("     Invalid column name 'gone'."),
                 QStringLiteral(" Anonymisation table dbo.Orders column [price] - successful ")}));
        QCOMPARE(log.progress, (QList<QPair<int, int>>{{0, 3}, {1, 3}, {2, 3}, {3, 3}}));
        QCOMPARE(server.openConnections, 0);
    }

    // A column's batch runs until it ends: no command time-out is set, and
    // the login keeps its own.
    void noCommandTimeout()
    {
        FakeServer server;
        run::RunPlan state = stateWith(server, {column(QStringLiteral("dbo.T"), QStringLiteral("a"), 109)});
        QList<int> timeouts;
        state.connect = [&] { return std::make_unique<TimedConnection>(server.connect(), timeouts); };
        run::Runner runner;
                QVERIFY(runner.run(state).complete());
        QCOMPARE(timeouts, QList<int>{0});
    }

    // The rows whose key draw found nothing are counted under the column's
    // line; the other codes are only executed.
    void keptRowsCounted()
    {
        FakeServer server;
        server.answer(QStringLiteral("[k]"), test::makeRows({QStringLiteral("misses")}, {{QStringLiteral("4")}}));
        const TColumnRec a = column(QStringLiteral("dbo.T"), QStringLiteral("k"), 6, QStringLiteral("3"));
        const TColumnRec b = column(QStringLiteral("dbo.T"), QStringLiteral("n"), 102, QStringLiteral("3"));
        run::Runner runner;
        Log log(runner);
        QVERIFY(runner.run(stateWith(server, {a, b})).complete());
        QCOMPARE(log.lines, QStringList({run::SuccessLine(a), run::MissLine(4), run::SuccessLine(b)}));
        QCOMPARE(run::MissLine(4), QStringLiteral("     4 rows kept their values: no key was drawn for them"));
    }

    // Each run works on the seed and the database of its plan.
    void readsTheStateAtEachRun()
    {
        FakeServer server;
        const TColumnRec a =
            column(QStringLiteral("dbo.T"), QStringLiteral("n1"), 102, QStringLiteral("5"));
        const TColumnRec b = column(QStringLiteral("dbo.T"), QStringLiteral("n2"), 2002,
                                    QStringLiteral("0.5"), QStringLiteral("1"));
        run::RunPlan state = stateWith(server, {a, b}, 3);
        state.connectionString = QStringLiteral("Initial Catalog=first");
        run::Runner runner;
        QVERIFY(runner.run(state).complete());
        QCOMPARE(server.sent.at(1), batchOf(a, 3));

        state.seed = 7;
        state.connectionString = QStringLiteral("Initial Catalog=second");
        server.sent.clear();
        QVERIFY(runner.run(state).complete());
        QCOMPARE(server.opened, QStringList({QStringLiteral("Initial Catalog=first"),
                                             QStringLiteral("Initial Catalog=second")}));
        QCOMPARE(server.sent, QStringList({install, batchOf(a, 7), batchOf(b, 7), drop}));
        // Nothing follows the block: the script's blank lines are not part of a batch.
        const QString preamble = script::BuildPreamble(7);
        QVERIFY(preamble.startsWith(QStringLiteral("declare @r float \r\n set @r=rand(7)\r\n")));
        for (int i : {1, 2}) {
            QVERIFY(server.sent.at(i).startsWith(preamble));
            QVERIFY(!server.sent.at(i).endsWith(QStringLiteral("\r\n\r\n")));
        }
    }

    // Failures around the columns end the run with the error to show.
    void failuresEndingTheRun_data()
    {
        QTest::addColumn<QString>("refuse");
        QTest::addColumn<QString>("failing");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("sent");
        QTest::addColumn<int>("lines");

        const QString login = QStringLiteral("Login failed for user 'corvane'.");
        const QString denied =
            QStringLiteral("CREATE FUNCTION permission denied in database 'fixture'.");
        const QString inUse = QStringLiteral("Cannot drop the function 'dbo.corvane_split'.");
        QTest::newRow("connection refused") << login << QString() << login << 0 << 0;
        QTest::newRow("installation fails")
            << QString() << QStringLiteral("create FUNCTION") << denied << 1 << 0;
        QTest::newRow("drop fails")
            << QString() << QStringLiteral("drop function") << inUse << 4 << 2;
    }
    void failuresEndingTheRun()
    {
        QFETCH(QString, refuse);
        QFETCH(QString, failing);
        QFETCH(QString, message);
        QFETCH(int, sent);
        QFETCH(int, lines);
        FakeServer server;
        server.refuseOpen = refuse;
        if (!failing.isEmpty())
            server.fail(failing, message);
        run::RunPlan state =
            stateWith(server, {column(QStringLiteral("dbo.T"), QStringLiteral("a"), 109),
                               column(QStringLiteral("dbo.T"), QStringLiteral("b"), 1009)});
        run::Runner runner;
        Log log(runner);
        const run::RunSummary outcome = runner.run(state);
        QVERIFY(outcome.error);
        QCOMPARE(outcome.error->message, message);
        QVERIFY(!outcome.error->isNotice());
        QCOMPARE(server.sent.size(), sent);
        QCOMPARE(log.lines.size(), lines);
        QCOMPARE(server.openConnections, 0);
    }

    // A batch that cannot be built ends the run at its column: what was sent
    // stays, and the split function is dropped all the same.
    void buildFailureEndsRun_data()
    {
        QTest::addColumn<TColumnRec>("second");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("notice");
        QTest::newRow("missing word list")
            << column(QStringLiteral("dbo.T"), QStringLiteral("name"), 1007,
                      QStringLiteral("nosuch"))
            << QStringLiteral("File nosuch.txt with virtual data does not exist. ") << true;
        QTest::newRow("bad date") << column(QStringLiteral("dbo.T"), QStringLiteral("born"), 1,
                                            QStringLiteral("13/31/2020"))
                                  << QStringLiteral("'13/31/2020' is not a valid date (table dbo.T, column born)") << false;
    }
    void buildFailureEndsRun()
    {
        QFETCH(TColumnRec, second);
        QFETCH(QString, message);
        QFETCH(bool, notice);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("virtual_data")));
        const QString home = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir.path()));
        auto back = qScopeGuard([&] { QDir::setCurrent(home); });

        FakeServer server;
        const TColumnRec first =
            column(QStringLiteral("dbo.T"), QStringLiteral("id"), 102, QStringLiteral("5"));
        const TColumnRec third = column(QStringLiteral("dbo.T"), QStringLiteral("x"), 109);
        run::RunPlan state = stateWith(server, {first, second, third});
        run::Runner runner;
        Log log(runner);
        const run::RunSummary outcome = runner.run(state);
        QVERIFY(outcome.error);
        QCOMPARE(outcome.error->message, message);
        QCOMPARE(outcome.error->isNotice(), notice);
        QCOMPARE(server.sent, QStringList({install, batchOf(first, 1), drop}));
        QCOMPARE(log.lines, QStringList({run::SuccessLine(first)}));
        QCOMPARE(server.openConnections, 0);

        // Mended, the next run completes on a fresh connection.
        state.catalogue[3].method = 109;
        server.sent.clear();
        QVERIFY(runner.run(state).complete());
        QCOMPARE(server.sent.size(), 5);
        QCOMPARE(server.sent.first(), install);
        QCOMPARE(server.sent.last(), drop);
        QCOMPARE(server.openConnections, 0);
    }

    // The line that names the target counts masked columns and their tables;
    // the database node and codes without a block are not counted.
    void targetLine()
    {
        TData catalogue{column(QString(), QString(), 101), TColumnRec{},
                        column(QStringLiteral("dbo.A"), QStringLiteral("x"), 109),
                        column(QStringLiteral("dbo.A"), QStringLiteral("y"), 0),
                        column(QStringLiteral("dbo.A"), QStringLiteral("z"), 102), TColumnRec{},
                        column(QStringLiteral("s.B"), QStringLiteral("w"), 2002)};
        const run::MaskedCount count = run::CountMasked(catalogue);
        QCOMPARE(count.columns, 3);
        QCOMPARE(count.tables, 2);
        QCOMPARE(run::TargetLine(QStringLiteral("host,1433"), QStringLiteral("shop"), count),
                 QStringLiteral("Masking 3 columns in 2 tables of database [shop] on server "
                                "[host,1433]."));
        QCOMPARE(run::TargetLine(QStringLiteral("h"), QStringLiteral("d"), {1, 1}),
                 QStringLiteral("Masking 1 column in 1 table of database [d] on server [h]."));
    }

    // On a worker: the signals arrive queued on this thread, columnStarted
    // before columnFinished for each column, and a second start is refused
    // while the first run goes on.
    void startRunsOnAWorker()
    {
        FakeServer server;
        server.fail(QStringLiteral("[b]"), QStringLiteral("Invalid column name 'b'."));
        const run::RunPlan plan = stateWith(server, {column(QStringLiteral("dbo.T"), QStringLiteral("a"), 109),
                                                     column(QStringLiteral("dbo.T"), QStringLiteral("b"), 109)});
        run::Runner runner;
        QStringList events;
        QThread* const self = QThread::currentThread();
        QObject::connect(&runner, &run::Runner::columnStarted, &runner, [&](int slot) {
            QCOMPARE(QThread::currentThread(), self);
            events << QStringLiteral("start %1").arg(slot);
        });
        QObject::connect(&runner, &run::Runner::columnFinished, &runner,
                         [&](int slot, const Status& status) {
                             events << QStringLiteral("end %1 %2").arg(slot).arg(status.ok());
                         });
        QSignalSpy finished(&runner, &run::Runner::finished);
        QVERIFY(runner.start(plan));
        QVERIFY(!runner.start(plan));
        // The spy is called on the worker: count, do not wait for a new emission.
        QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 5000);
        QCOMPARE(events, QStringList({QStringLiteral("start 2"), QStringLiteral("end 2 1"),
                                      QStringLiteral("start 3"), QStringLiteral("end 3 0")}));
        const auto summary = finished.first().first().value<run::RunSummary>();
        QCOMPARE(summary.succeeded, 1);
        QCOMPARE(summary.failed, 1);
        QVERIFY(!runner.isRunning());
        QVERIFY(runner.start(plan));
        QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 2, 5000);
        QTRY_COMPARE(events.size(), 8);
    }
};

QTEST_GUILESS_MAIN(TestRunner)
#include "test_runner.moc"

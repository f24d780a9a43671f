// The page's run sent through the ODBC driver to the TDS test server.
#include "tests/support/workspace.h"
#include "tests/support/slots.h"
#include "db/odbcconnection.h"
#include "run/batches.h"
#include "run/runsqlf.h"
#include "script/generator.h"
#include "tests/support/fakedialogs.h"
#include "tests/support/tdsserver.h"
#include "tests/support/testlocale.h"

#include <QDir>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>

using namespace corvane;
using corvane::test::column;
using corvane::test::FakeDialogs;
using corvane::test::TdsServer;

namespace {

QString batchOf(const TColumnRec& slot, std::int32_t seed)
{
    auto batch = run::BuildBatch(slot, seed);
    return batch ? *batch : QString();
}

// Sent after a failed batch, for a transaction that the failure left open.
const QString cleanup = QStringLiteral("if @@trancount>0 rollback transaction");

QString success(const TColumnRec& c)
{
    return QStringLiteral(" Anonymisation table ") + c.stab + QStringLiteral(" column [") + c.col +
           QStringLiteral("] - successful ");
}

QString failed(const TColumnRec& c)
{
    return QStringLiteral(" Anonymisation table ") + c.stab + QStringLiteral(" column [") + c.col +
           QStringLiteral("] - FAILED ");
}

const QString install = run::SplitInstallationBatch();
const QString drop = QStringLiteral("drop function dbo.corvane_split");
const QString finished = QStringLiteral("information: Finished !");

// A page with its own state, run against `server`'s database "fixture".
struct Bench
{
    Workspace state{[] { return db::MakeOdbcConnection(); }};
    TRunSQLF page;
    FakeDialogs dialogs;

    Bench(const TdsServer& server, const QList<TColumnRec>& columns, std::int32_t seed = 1)
    {
        TData catalogue = {TColumnRec{}, TColumnRec{}};
        for (const TColumnRec& c : columns)
            catalogue.append(c);
        test::load(state, catalogue, server.connectionString());
        state.setSeed(seed);
        page.SetSource(state);
    }
    // The log below the line that names the target.
    QString log()
    {
        const QString text = page.findChild<QPlainTextEdit*>(QStringLiteral("Memo1"))->toPlainText();
        return text.startsWith(QStringLiteral("Masking ")) ? text.section(u'\n', 1) : text;
    }
    // What was shown besides the confirmation.
    QStringList messages() const
    {
        QStringList out = dialogs.texts();
        out.removeIf([](const QString& t) { return t.startsWith(QStringLiteral("confirm")); });
        return out;
    }
    bool ended()
    {
        return QTest::qWaitFor(
            [&] {
                return !page.isRunning() &&
                       page.findChild<QPushButton*>(QStringLiteral("Button7"))->isEnabled();
            },
            20000);
    }
    void start() { page.Button7Click(); }
    void run()
    {
        start();
        QVERIFY(ended());
    }
};

QString lines(const QStringList& l)
{
    return l.join(u'\n');
}

} // namespace

class TestRunSQLFTds : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { test::useTestLocale(); }

    void noMaskedColumn()
    {
        TdsServer server;
        QVERIFY(server.started());
        Bench bench(server, {column(QStringLiteral("dbo.T"), QStringLiteral("a"), NoMethodYet),
                             column(QStringLiteral("dbo.T"), QStringLiteral("b"), 0),
                             column(QStringLiteral("dbo.T"), QStringLiteral("c"), 1006),
                             column(QStringLiteral("dbo.T"), QStringLiteral("d"), 2000),
                             column(QStringLiteral("dbo.T"), QStringLiteral("e"), 3000)});
        bench.run();
        QVERIFY(server.batches().isEmpty());
        QCOMPARE(bench.messages(), QStringList({QStringLiteral(
                                       "information: No column is masked: there is nothing to run.")}));
        QVERIFY(bench.log().isEmpty());
    }

    void secondColumnFails()
    {
        TdsServer server(TdsServer::defaultFixture(
            R"([{"match": "[gone]", "error": {"number": 207, "message": "Invalid column name 'gone'."}}])"));
        QVERIFY(server.started());
        const TColumnRec a =
            column(QStringLiteral("dbo.People"), QStringLiteral("age"), 102, QStringLiteral("5"));
        const TColumnRec b = column(QStringLiteral("dbo.People"), QStringLiteral("gone"), 109);
        const TColumnRec c =
            column(QStringLiteral("dbo.Orders"), QStringLiteral("unit price"), 1009);
        Bench bench(server, {a, b, c});
        bench.run();

        QCOMPARE(server.batches(),
                 QStringList({install, batchOf(a, 1), batchOf(b, 1), cleanup, batchOf(c, 1), drop}));
        QCOMPARE(bench.log(),
                 lines({success(a), failed(b), QStringLiteral("     Invalid column name 'gone'."),
                        success(c)}));
        QCOMPARE(bench.messages(),
                 QStringList({QStringLiteral("warning: Finished with failures: 2 of 3 columns "
                                             "succeeded, 1 failed.")}));
        // One connection for the whole run.
        QSet<int> connections;
        for (const TdsServer::Batch& batch : server.records())
            connections << batch.connection;
        QCOMPARE(connections.size(), 1);
    }

    void noiseColumnsShareThePreamble()
    {
        TdsServer server;
        QVERIFY(server.started());
        const TColumnRec a =
            column(QStringLiteral("dbo.T"), QStringLiteral("qty"), 102, QStringLiteral("5"));
        const TColumnRec b = column(QStringLiteral("dbo.T"), QStringLiteral("price"), 2002,
                                    QStringLiteral("1.5"), QStringLiteral("2"));
        Bench bench(server, {a, b}, 7);
        bench.run();

        const QStringList sent = server.batches();
        QCOMPARE(sent.size(), 4);
        QCOMPARE(sent.at(1), batchOf(a, 7));
        QCOMPARE(sent.at(2), batchOf(b, 7));
        const QString preamble = script::BuildPreamble(7);
        QVERIFY(preamble.startsWith(QStringLiteral("declare @r float \r\n set @r=rand(7)\r\n")));
        QVERIFY(sent.at(1).startsWith(preamble) && sent.at(2).startsWith(preamble));
        QCOMPARE(bench.log(), lines({success(a), success(b)}));
    }

    // A missing word list ends the run; the function is dropped all the same.
    void missingWordList()
    {
        QTemporaryDir dir;
        const QString home = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir.path()));
        auto back = qScopeGuard([&] { QDir::setCurrent(home); });

        TdsServer server;
        QVERIFY(server.started());
        const TColumnRec a = column(QStringLiteral("dbo.T"), QStringLiteral("a"), 109);
        const TColumnRec b =
            column(QStringLiteral("dbo.T"), QStringLiteral("name"), 1007, QStringLiteral("names"));
        const TColumnRec c = column(QStringLiteral("dbo.T"), QStringLiteral("c"), 1009);
        Bench bench(server, {a, b, c});
        bench.run();
        QCOMPARE(server.batches(), QStringList({install, batchOf(a, 1), drop}));
        QCOMPARE(bench.log(), success(a));
        QCOMPARE(bench.messages(),
                 QStringList({QStringLiteral(
                     "information: File names.txt with virtual data does not exist. ")}));

        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("virtual_data")));
        QFile list(dir.filePath(QStringLiteral("virtual_data/names.txt")));
        QVERIFY(list.open(QIODevice::WriteOnly));
        list.write("Ann;Bo;Cy;\r\n");
        list.close();
        server.setFixture(TdsServer::defaultFixture(
            R"json([{"match": "OBJECT_ID(N'dbo.corvane_split')", "rowcount": 0}])json"));
        server.clearBatches();
        bench.dialogs.shown.clear();
        bench.run();
        QCOMPARE(server.batches(),
                 QStringList({install, batchOf(a, 1), batchOf(b, 1), batchOf(c, 1), drop}));
        QVERIFY(server.batches().at(2).contains(QStringLiteral("Ann;Bo;Cy;")));
        QCOMPARE(bench.log(), lines({success(a), success(b), success(c)}));
        QCOMPARE(bench.messages(), QStringList({finished}));
    }

    // A batch that stalls past the command time-out fails its column, and
    // the next column runs on the same connection; a fast column has no time line.
    void stalledBatch()
    {
        TdsServer server(TdsServer::defaultFixture(R"([{"match": "[slow]", "stall": 20}])"));
        QVERIFY(server.started());
        const TColumnRec a = column(QStringLiteral("dbo.T"), QStringLiteral("slow"), 109);
        const TColumnRec b = column(QStringLiteral("dbo.T"), QStringLiteral("fast"), 109);
        Bench bench(server, {a, b});
        bench.page.runner().setCommandTimeout(1);
        QElapsedTimer clock;
        clock.start();
        bench.run();
        QVERIFY2(clock.elapsed() < 15000, "the command time-out was not applied");

        QCOMPARE(server.batches(), QStringList({install, batchOf(a, 1), cleanup, batchOf(b, 1), drop}));
        const QStringList log = bench.log().split(u'\n');
        QCOMPARE(log.size(), 4);
        QCOMPARE(log.at(0), failed(a));
        QVERIFY2(log.at(1).startsWith(QStringLiteral("     ")) && log.at(1).size() > 5,
                 qPrintable(log.at(1)));
        // Over a second: the column's time follows, indented as a reason.
        QVERIFY2(log.at(2).startsWith(QStringLiteral("     took 1.")), qPrintable(log.at(2)));
        QCOMPARE(log.at(3), success(b));
        QCOMPARE(bench.messages(),
                 QStringList({QStringLiteral("warning: Finished with failures: 1 of 2 columns "
                                             "succeeded, 1 failed.")}));
    }

    // The server fails a batch after part of it ran: the column is logged
    // FAILED with the server's own text, and the next column's cursor batch
    // runs on the same connection (its cursor is LOCAL, so a cursor left by
    // the failed batch cannot be in its way).
    void failureMidBatch()
    {
        TdsServer server(TdsServer::defaultFixture(R"([
            {"match": "[half]", "columns": [{"name": "x", "type": "int"}], "rows": [[1]],
             "error": {"number": 547, "message": "The UPDATE statement conflicted with the FOREIGN KEY constraint FK_T."}}])"));
        QVERIFY(server.started());
        const TColumnRec a = column(QStringLiteral("dbo.T"), QStringLiteral("half"), 102, QStringLiteral("5"));
        const TColumnRec b = column(QStringLiteral("dbo.T"), QStringLiteral("next"), 102, QStringLiteral("5"));
        Bench bench(server, {a, b});
        bench.run();

        QCOMPARE(server.batches(), QStringList({install, batchOf(a, 1), cleanup, batchOf(b, 1), drop}));
        QVERIFY(batchOf(b, 1).contains(QStringLiteral("DECLARE cur CURSOR LOCAL FOR")));
        QCOMPARE(bench.log(),
                 lines({failed(a),
                        QStringLiteral("     The UPDATE statement conflicted with the FOREIGN KEY constraint FK_T."),
                        success(b)}));
        QSet<int> connections;
        for (const TdsServer::Batch& batch : server.records())
            connections << batch.connection;
        QCOMPARE(connections.size(), 1);
        QCOMPARE(bench.messages(),
                 QStringList({QStringLiteral("warning: Finished with failures: 1 of 2 columns "
                                             "succeeded, 1 failed.")}));
    }

    // A foreign-key draw reports the rows that kept their values under the
    // column's line; a count of 0 adds nothing.
    void keptRowsReported()
    {
        TdsServer server(TdsServer::defaultFixture(R"([
            {"match": "[some]", "columns": [{"name": "misses", "type": "int"}], "rows": [[3]]},
            {"match": "[none]", "columns": [{"name": "misses", "type": "int"}], "rows": [[0]]}])"));
        QVERIFY(server.started());
        TColumnRec a = column(QStringLiteral("dbo.T"), QStringLiteral("some"), 107, QStringLiteral("1"), QStringLiteral("9"));
        TColumnRec b = column(QStringLiteral("dbo.T"), QStringLiteral("none"), 2006, QStringLiteral("1"), QStringLiteral("2"));
        Bench bench(server, {a, b});
        bench.run();
        QVERIFY(server.batches().at(1).endsWith(QStringLiteral("end catch \r\nselect misses=@misses ")));
        QCOMPARE(bench.log(),
                 lines({success(a), QStringLiteral("     3 rows kept their values: no key was drawn for them"),
                        success(b)}));
    }

    // The server goes away in the middle of the run: the remaining columns
    // fail, the drop cannot be sent, and the operator sees why.
    void connectionDroppedMidRun()
    {
        TdsServer server(TdsServer::defaultFixture(R"([{"match": "[b]", "drop": true}])"));
        QVERIFY(server.started());
        const TColumnRec a = column(QStringLiteral("dbo.T"), QStringLiteral("a"), 109);
        const TColumnRec b = column(QStringLiteral("dbo.T"), QStringLiteral("b"), 109);
        const TColumnRec c = column(QStringLiteral("dbo.T"), QStringLiteral("c"), 109);
        Bench bench(server, {a, b, c});
        bench.run();

        const QStringList log = bench.log().split(u'\n');
        QCOMPARE(log.size(), 5);
        QCOMPARE(log.at(0), success(a));
        QCOMPARE(log.at(1), failed(b));
        QCOMPARE(log.at(3), failed(c));
        QCOMPARE(bench.messages().size(), 1);
        QVERIFY(bench.messages().first().startsWith(QStringLiteral("error: ")));
        QVERIFY(bench.messages().first().size() > 7);
    }

    // Each run reads the catalogue's database at the click: after a login
    // to another database, the batches go there.
    void runFollowsTheLogin()
    {
        TdsServer server;
        QVERIFY(server.started());
        const TColumnRec a = column(QStringLiteral("dbo.T"), QStringLiteral("a"), 109);
        Bench bench(server, {a});
        bench.run();
        test::load(bench.state, TData(bench.state.catalogue()),
                   server.connectionString(QStringLiteral("other")));
        bench.run();

        const QList<TdsServer::Batch> records = server.records();
        QCOMPARE(records.size(), 6);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(records.at(i).database, QStringLiteral("fixture"));
        for (int i = 3; i < 6; ++i)
            QCOMPARE(records.at(i).database, QStringLiteral("other"));
        QCOMPARE(bench.log(), success(a));
        QCOMPARE(bench.messages(), QStringList({finished, finished}));
    }

    // Stop during a batch that the server holds: the cancel reaches the
    // server, the column is logged FAILED with the stop's reason, the next
    // column is never sent, the split function is dropped, and all of it
    // within a second of the click.
    void stopDuringAStalledBatch()
    {
        TdsServer server(TdsServer::defaultFixture(R"([{"match": "[b]", "stall": 30}])"));
        QVERIFY(server.started());
        const TColumnRec a = column(QStringLiteral("dbo.T"), QStringLiteral("a"), 109);
        const TColumnRec b = column(QStringLiteral("dbo.T"), QStringLiteral("b"), 109);
        const TColumnRec c = column(QStringLiteral("dbo.T"), QStringLiteral("c"), 109);
        Bench bench(server, {a, b, c});
        bench.start();
        QTRY_VERIFY_WITH_TIMEOUT(server.batches().size() == 3, 10000);
        QTest::qWait(200); // the batch is on the server, held
        QVERIFY(bench.page.isRunning());

        QElapsedTimer clock;
        clock.start();
        bench.page.stopClick();
        QVERIFY(bench.ended());
        QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));

        QCOMPARE(server.batches(), QStringList({install, batchOf(a, 1), batchOf(b, 1), cleanup, drop}));
        QCOMPARE(bench.log(), lines({success(a), QStringLiteral("Stopping..."), failed(b),
                                     QStringLiteral("     Stopped by the operator.")}));
        QCOMPARE(bench.messages(),
                 QStringList({QStringLiteral("warning: Stopped by the operator: 1 of 3 columns "
                                             "succeeded, 1 failed, 1 not run.")}));
    }

    // The confirmation names the server and the database that the
    // catalogue was read from.
    void confirmationNamesTheServer()
    {
        TdsServer server;
        QVERIFY(server.started());
        Bench bench(server, {column(QStringLiteral("dbo.T"), QStringLiteral("a"), 109)});
        bench.dialogs.confirmAnswers.enqueue(false);
        bench.run();
        QCOMPARE(bench.dialogs.texts().size(), 1);
        QVERIFY(bench.dialogs.texts().first().startsWith(
            QStringLiteral("confirm Run: Masking 1 column in 1 table of database [fixture] on "
                           "server [127.0.0.1,%1].").arg(server.port())));
        QVERIFY(server.batches().isEmpty());
    }
};

QTEST_MAIN(TestRunSQLFTds)
#include "test_runsqlf_tds.moc"

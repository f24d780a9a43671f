// The built corvane-cli against the TDS test server, through the real ODBC
// driver: what an unattended job would see.
#include "catalogue/loader.h"
#include "catalogue/workspace.h"
#include "check/checkstate.h"
#include "check/factsquery.h"
#include "db/odbcconnection.h"
#include "project/loadsave.h"
#include "project/wordlist.h"
#include "run/batches.h"
#include "script/sqlf.h"
#include "tests/support/fakedialogs.h"
#include "tests/support/tdsserver.h"
#include "tests/support/testlocale.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

using namespace corvane;

namespace {

// The schema query's answer up to its rows.
const QByteArray SchemaHead = R"({"match": "INFORMATION_SCHEMA", "columns": [
    {"name": "tab", "type": "nvarchar"}, {"name": "col", "type": "nvarchar"},
    {"name": "schema", "type": "nvarchar"}, {"name": "stab", "type": "nvarchar"},
    {"name": "FK_Column", "type": "nvarchar"}, {"name": "PK_Table", "type": "nvarchar"},
    {"name": "PK_Column", "type": "nvarchar"}, {"name": "Constraint_Name", "type": "nvarchar"},
    {"name": "PK", "type": "nvarchar"}, {"name": "isnull", "type": "nvarchar"},
    {"name": "typ", "type": "nvarchar"}, {"name": "char_max", "type": "int"},
    {"name": "PK_schema", "type": "nvarchar"}],
  "rows": [)";

const QByteArray SchemaRule = SchemaHead + R"(
    ["Customer", "id", "dbo", "dbo.Customer", null, null, null, null, "id", "NO", "int", null, null],
    ["Customer", "name", "dbo", "dbo.Customer", null, null, null, null, null, "YES", "nvarchar", 50, null],
    ["Customer", "born", "dbo", "dbo.Customer", null, null, null, null, null, "YES", "datetime", null, null],
    ["Orders", "id", "dbo", "dbo.Orders", null, null, null, null, "id", "NO", "int", null, null],
    ["Orders", "qty", "dbo", "dbo.Orders", null, null, null, null, null, "YES", "int", null, null],
    ["Orders", "price", "dbo", "dbo.Orders", null, null, null, null, null, "YES", "float", null, null],
    ["Orders", "customer", "dbo", "dbo.Orders", "customer", "Customer", "id", "FK_Orders_Customer", null, "NO", "int", null, "dbo"]
  ]})";

// Names that bare T-SQL cannot take, and a foreign key into another schema
// whose table has a namesake in dbo.
const QByteArray HostileSchemaRule = SchemaHead + R"(
    ["Order", "Order", "dbo", "dbo.Order", "Order", "Orders", "OrderId", "FK_Order", "Order", "NO", "int", null, "sales"],
    ["Order", "it\u0027s]", "dbo", "dbo.Order", null, null, null, null, null, "YES", "varchar", 20, null],
    ["v1.2 Archive", "when", "dbo", "dbo.v1.2 Archive", null, null, null, null, null, "YES", "date", null, null]
  ]})";

// The column facts: Orders.price may not be NULL, Customer.name is nvarchar(50).
const QByteArray FactsRule = R"({"match": "from sys.tables", "columns": [
    {"name": "schema", "type": "nvarchar"}, {"name": "tab", "type": "nvarchar"},
    {"name": "col", "type": "nvarchar"}, {"name": "typ", "type": "nvarchar"},
    {"name": "max_length", "type": "int"}, {"name": "is_nullable", "type": "bit"},
    {"name": "foreign_keys", "type": "int"}, {"name": "foreign_key_columns", "type": "int"},
    {"name": "rows", "type": "bigint"}],
  "rows": [
    ["dbo", "Customer", "id", "int", 4, false, 0, 0, 3],
    ["dbo", "Customer", "name", "nvarchar", 100, true, 0, 0, 3],
    ["dbo", "Customer", "born", "datetime", 8, true, 0, 0, 3],
    ["dbo", "Orders", "id", "int", 4, false, 0, 0, 5],
    ["dbo", "Orders", "qty", "int", 4, true, 0, 0, 5],
    ["dbo", "Orders", "price", "float", 8, false, 0, 0, 5],
    ["dbo", "Orders", "customer", "int", 4, false, 1, 1, 5]
  ]},)";

QByteArray fixture(const QByteArray& moreRules = {})
{
    return test::TdsServer::defaultFixture("[" + moreRules + SchemaRule + "]");
}

const QByteArray Template = "10\r\n"
                            "1;;;0;;;\r\n"
                            "2;id;dbo.Customer;-1;;;\r\n"
                            "3;name;dbo.Customer;-1;;;\r\n"
                            "4;born;dbo.Customer;-1;;;\r\n"
                            "5;;;0;;;\r\n"
                            "6;id;dbo.Orders;-1;;;\r\n"
                            "7;qty;dbo.Orders;-1;;;\r\n"
                            "8;price;dbo.Orders;-1;;;\r\n"
                            "9;customer;dbo.Orders;-1;;;\r\n";

// Two columns masked, each in a table of its own: NULL names, noise on quantities.
QByteArray twoColumnsMasked()
{
    QByteArray text = Template;
    text.replace("3;name;dbo.Customer;-1;;", "3;name;dbo.Customer;1009;;");
    text.replace("7;qty;dbo.Orders;-1;;", "7;qty;dbo.Orders;102;5;");
    return text;
}

// The template with methods as an operator would type them into it.
QByteArray edited(const QByteArray& templ)
{
    QByteArray text = templ;
    text.replace("3;name;dbo.Customer;-1;;", "3;name;dbo.Customer;1001;O'Brien;");
    text.replace("4;born;dbo.Customer;-1;;", "4;born;dbo.Customer;2;30;");
    text.replace("7;qty;dbo.Orders;-1;;", "7;qty;dbo.Orders;103;1;10");
    text.replace("8;price;dbo.Orders;-1;;", "8;price;dbo.Orders;2009;;");
    text.replace("9;customer;dbo.Orders;-1;;", "9;customer;dbo.Orders;105;1;");
    return text;
}

struct Outcome
{
    int status = -1;
    QByteArray out;
    QByteArray err;
};

class CliRunner
{
public:
    explicit CliRunner(const test::TdsServer& server) : m_server(server) {}

    QTemporaryDir dir;

    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }

    Outcome run(const QStringList& arguments,
                const QString& password = QString::fromUtf16(test::TdsServer::DefaultPassword),
                const QString& database = QString::fromUtf16(test::TdsServer::DefaultDatabase))
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("CORVANE_PASSWORD"), password);
        env.remove(QStringLiteral("CORVANE_ODBC_DRIVER"));
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(dir.path());
        process.setStandardInputFile(QProcess::nullDevice());
        const QStringList login = {
            QStringLiteral("--server"), QStringLiteral("127.0.0.1,%1").arg(m_server.port()),
            QStringLiteral("--database"), database, QStringLiteral("--login"),
            QString::fromUtf16(test::TdsServer::DefaultLogin)};
        process.start(QStringLiteral(CORVANE_CLI), arguments.mid(0, 1) + login + arguments.mid(1));
        Outcome outcome;
        if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
            return outcome;
        outcome.status = process.exitCode();
        outcome.out = process.readAllStandardOutput();
        outcome.err = process.readAllStandardError();
        return outcome;
    }

private:
    const test::TdsServer& m_server;
};

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The batches after the schema load: the run's own.
QStringList runBatches(const test::TdsServer& server)
{
    const QStringList all = server.batches();
    const qsizetype install = all.indexOf(run::SplitInstallationBatch());
    return install < 0 ? all : all.mid(install);
}

void verifyNoPassword(const Outcome& outcome, const QString& password)
{
    QVERIFY(!outcome.out.contains(password.toUtf8()));
    QVERIFY(!outcome.err.contains(password.toUtf8()));
}

} // namespace

class TestCliProcess : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { test::useTestLocale(); }

    void schemaOfTheFixture()
    {
        test::TdsServer server(fixture());
        QVERIFY(server.started());
        CliRunner cli(server);
        const Outcome outcome = cli.run({QStringLiteral("schema")});
        QCOMPARE(outcome.err, QByteArray());
        QCOMPARE(outcome.status, 0);
        QCOMPARE(outcome.out, QByteArray("1\tdbo.Customer\n"
                                         "2\tdbo.Customer\tid\tint\tNO\t\tid\t\t\t\t\n"
                                         "3\tdbo.Customer\tname\tnvarchar\tYES\t50\t\t\t\t\t\n"
                                         "4\tdbo.Customer\tborn\tdatetime\tYES\t\t\t\t\t\t\n"
                                         "5\tdbo.Orders\n"
                                         "6\tdbo.Orders\tid\tint\tNO\t\tid\t\t\t\t\n"
                                         "7\tdbo.Orders\tqty\tint\tYES\t\t\t\t\t\t\n"
                                         "8\tdbo.Orders\tprice\tfloat\tYES\t\t\t\t\t\t\n"
                                         "9\tdbo.Orders\tcustomer\tint\tNO\t\t\tdbo\tCustomer\tid\t"
                                         "FK_Orders_Customer\n"));
        verifyNoPassword(outcome, QStringLiteral("secret"));
    }

    void templateThenScriptMatchesTheSqlPage()
    {
        test::TdsServer server(fixture(FactsRule));
        QVERIFY(server.started());
        CliRunner cli(server);

        const Outcome templ = cli.run({QStringLiteral("template"), QStringLiteral("--output"),
                                       cli.path("shop.crv")});
        QCOMPARE(templ.err, QByteArray());
        QCOMPARE(templ.status, 0);
        QVERIFY(templ.out.isEmpty());
        QCOMPARE(readFile(cli.path("shop.crv")), Template);
        QVERIFY(writeFile(cli.path("shop.crv"), edited(Template)));

        const Outcome script = cli.run({QStringLiteral("script"), QStringLiteral("--project"),
                                        cli.path("shop.crv"), QStringLiteral("--seed"),
                                        QStringLiteral("7")});
        QCOMPARE(script.err, QByteArray());
        QCOMPARE(script.status, 0);

        // The windows' road: the catalogue and the facts from the same
        // server, "Load project", "Generate SQL" (past the check's question),
        // "Save SQL".
        Workspace state([] { return db::MakeOdbcConnection(); });
        check::CheckState check(state, {&ReadWordList});
        check::Facts facts;
        auto loaded = LoadDatabase(state.connector(), server.connectionString(),
                                   [&facts](db::Connection& c) { facts = check::ReadFacts(c); });
        QVERIFY(loaded.ok());
        check.setNextFacts(facts);
        state.replace(std::move(*loaded));
        state.setSeed(7);
        TData choices = state.catalogue();
        QVERIFY(TLoadSave().LoadProject(cli.path("shop.crv"), choices).ok());
        state.replaceChoices(choices);
        test::FakeDialogs dialogs;
        dialogs.fileAnswers.enqueue(cli.path("windows.txt"));
        TSQLF page;
        page.SetSource(state);
        page.SetCheck(check);
        page.findChild<QPushButton*>(QStringLiteral("BtGenSQL"))->click();
        page.findChild<QPushButton*>(QStringLiteral("BtSSQLSave"))->click();
        QCOMPARE(dialogs.shown.first().kind, QStringLiteral("confirm Generate SQL"));
        QCOMPARE(script.out, readFile(cli.path("windows.txt")));
        QVERIFY2(script.out.contains("\r\n-- Masked columns: 5\r\n-- Check: 1 error, 0 warnings\r\n"
                                     "-- error not-null: dbo.Orders [price] (NULL float): "),
                 script.out.left(600).constData());
        QVERIFY(script.out.contains(" set @r=rand(7)\r\n"));
        QVERIFY(script.out.contains("'O''Brien'"));
    }

    void runExitStatuses_data()
    {
        QTest::addColumn<QByteArray>("rules");
        QTest::addColumn<int>("status");
        QTest::addColumn<QStringList>("log");
        QTest::addColumn<QByteArray>("end");

        const QString nameOk = QStringLiteral(" Anonymisation table dbo.Customer column [name] - successful ");
        const QString qtyOk = QStringLiteral(" Anonymisation table dbo.Orders column [qty] - successful ");
        QTest::newRow("all succeed") << QByteArray() << 0 << QStringList{nameOk, qtyOk}
                                     << QByteArray("Finished !\n");
        QTest::newRow("a failed column")
            << QByteArray(R"({"match": "update [dbo].[Customer] set [name]", "error": {"number": 207, "message": "Invalid column name 'name'."}},)")
            << 1
            << QStringList{QStringLiteral(" Anonymisation table dbo.Customer column [name] - FAILED "),
                           QStringLiteral("     Invalid column name 'name'."), qtyOk}
            << QByteArray("Finished with failures: 1 of 2 columns succeeded, 1 failed.\n");
    }

    void runExitStatuses()
    {
        QFETCH(QByteArray, rules);
        QFETCH(int, status);
        QFETCH(QStringList, log);
        QFETCH(QByteArray, end);

        test::TdsServer server(fixture(rules));
        QVERIFY(server.started());
        CliRunner cli(server);
        QVERIFY(writeFile(cli.path("shop.crv"), twoColumnsMasked()));

        const Outcome outcome = cli.run({QStringLiteral("run"), QStringLiteral("--project"),
                                         cli.path("shop.crv"), QStringLiteral("--seed=7")});
        QCOMPARE(outcome.status, status);
        QStringList lines = QString::fromUtf8(outcome.out).split(u'\n');
        QCOMPARE(lines.takeLast(), QString());
        // The driver may put its own tag before the server's message.
        if (lines.size() > 1 && lines.at(1).contains(QStringLiteral("Invalid column name"))) {
            QVERIFY(lines.at(1).startsWith(QStringLiteral("     ")));
            QVERIFY(lines.at(1).endsWith(QStringLiteral("Invalid column name 'name'.")));
            lines[1] = QStringLiteral("     Invalid column name 'name'.");
        }
        QCOMPARE(lines, log);
        QCOMPARE(outcome.err,
                 QStringLiteral("Masking 2 columns in 2 tables of database [fixture] on server "
                                "[127.0.0.1,%1].\n")
                         .arg(server.port())
                         .toUtf8() +
                     "0 of 2 masked columns done\n1 of 2 masked columns done\n"
                     "2 of 2 masked columns done\n" + end);

        // The run's batches as the catalogue gives them: both tables have a
        // primary key.
        TColumnRec id;
        id.schema = QStringLiteral("dbo");
        id.col = id.PK = QStringLiteral("id");
        TColumnRec name = id;
        name.tab = QStringLiteral("Customer");
        name.stab = QStringLiteral("dbo.Customer");
        name.col = QStringLiteral("name");
        name.PK.clear();
        name.method = 1009;
        TColumnRec qty = name;
        qty.tab = QStringLiteral("Orders");
        qty.stab = QStringLiteral("dbo.Orders");
        qty.col = QStringLiteral("qty");
        qty.method = 102;
        qty.setParam1(QStringLiteral("5"));
        const TData catalogue = {TColumnRec{}, TColumnRec{}, id, name, TColumnRec{}, id, qty};
        const run::RunBatches batches(catalogue, 7);
        QStringList expected = {run::SplitInstallationBatch(), *batches.batch(3), *batches.batch(6),
                                run::SplitDropBatch()};
        if (status != 0)
            expected.insert(2, QStringLiteral("if @@trancount>0 rollback transaction"));
        QCOMPARE(runBatches(server), expected);
        QVERIFY(expected.at(expected.size() - 2).contains(QStringLiteral("CURSOR LOCAL KEYSET")));
        QVERIFY(runBatches(server).at(1).startsWith(
            QStringLiteral("declare @r float \r\n set @r=rand(7)\r\n")));
        verifyNoPassword(outcome, QStringLiteral("secret"));
    }

    // A template and a script for names that bare T-SQL cannot take: the
    // project keeps the names as shown, the script delimits them.
    void hostileNames()
    {
        test::TdsServer server(test::TdsServer::defaultFixture("[" + HostileSchemaRule + "]"));
        QVERIFY(server.started());
        CliRunner cli(server);
        const Outcome templ = cli.run({QStringLiteral("template"), QStringLiteral("--output"),
                                       cli.path("hostile.crv")});
        QCOMPARE(templ.status, 0);
        const QByteArray project = readFile(cli.path("hostile.crv"));
        QCOMPARE(project, QByteArray("6\r\n1;;;0;;;\r\n2;Order;dbo.Order;-1;;;\r\n3;it's];dbo.Order;-1;;;\r\n"
                                     "4;;;0;;;\r\n5;when;dbo.v1.2 Archive;-1;;;\r\n"));
        QByteArray edited = project;
        edited.replace("2;Order;dbo.Order;-1;;", "2;Order;dbo.Order;107;-5;-1");
        edited.replace("3;it's];dbo.Order;-1;;", "3;it's];dbo.Order;1001;a'b;");
        edited.replace("5;when;dbo.v1.2 Archive;-1;;", "5;when;dbo.v1.2 Archive;9;;");
        QVERIFY(writeFile(cli.path("hostile.crv"), edited));

        const Outcome script = cli.run({QStringLiteral("script"), QStringLiteral("--project"),
                                        cli.path("hostile.crv")});
        QCOMPARE(script.err, QByteArray());
        QCOMPARE(script.status, 0);
        QVERIFY(script.out.contains("update [dbo].[Order] set [Order]=@new_int WHERE CURRENT OF cur"));
        QVERIFY(script.out.contains("select [OrderId] from [sales].[Orders] where [OrderId] between (-5) and (-1)"));
        QVERIFY(script.out.contains(" update [dbo].[Order] set [it's]]]=N'a''b' \r\n"));
        QVERIFY(script.out.contains("update [dbo].[v1.2 Archive] set [when]=NULL \r\n"));
        QVERIFY(script.out.contains("DECLARE cur CURSOR LOCAL KEYSET FOR"));
    }

    void runRefusedLogin()
    {
        test::TdsServer server(fixture());
        QVERIFY(server.started());
        CliRunner cli(server);
        QVERIFY(writeFile(cli.path("shop.crv"), Template));
        const QString wrong = QStringLiteral("Wr0ng-Pa55word");
        const Outcome outcome = cli.run(
            {QStringLiteral("run"), QStringLiteral("--project"), cli.path("shop.crv")}, wrong);
        QCOMPARE(outcome.status, 2);
        QVERIFY(outcome.out.isEmpty());
        QVERIFY(outcome.err.startsWith("corvane-cli: Connection failed. "));
        QVERIFY(outcome.err.contains("Login failed for user 'corvane'."));
        QCOMPARE(outcome.err.count('\n'), 1);
        QVERIFY(server.batches().isEmpty());
        verifyNoPassword(outcome, wrong);
    }

    void runIncompatibleProject()
    {
        test::TdsServer server(fixture());
        QVERIFY(server.started());
        CliRunner cli(server);
        QByteArray project = Template;
        project.replace("10\r\n", "9\r\n");
        QVERIFY(writeFile(cli.path("shop.crv"), project));
        const Outcome outcome = cli.run(
            {QStringLiteral("run"), QStringLiteral("--project"), cli.path("shop.crv")});
        QCOMPARE(outcome.status, 2);
        QVERIFY(outcome.out.isEmpty());
        QCOMPARE(outcome.err, QByteArray("corvane-cli: Incompatible file for this database !.\n"));
        QVERIFY(!server.batches().contains(run::SplitInstallationBatch()));
        verifyNoPassword(outcome, QStringLiteral("secret"));
    }

    // Ctrl+C during a batch that the server holds: the batch is cancelled,
    // its column logged as stopped, the next column never sent, the split
    // function dropped, and the program ends with status 1 within 2 seconds.
    void interruptStopsTheRun()
    {
        test::TdsServer server(
            fixture(R"({"match": "update [dbo].[Customer] set [name]", "stall": 30},)"));
        QVERIFY(server.started());
        CliRunner cli(server);
        QVERIFY(writeFile(cli.path("shop.crv"), twoColumnsMasked()));

        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("CORVANE_PASSWORD"), QString::fromUtf16(test::TdsServer::DefaultPassword));
        env.remove(QStringLiteral("CORVANE_ODBC_DRIVER"));
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(cli.dir.path());
        process.setStandardInputFile(QProcess::nullDevice());
        process.start(QStringLiteral(CORVANE_CLI),
                      {QStringLiteral("run"), QStringLiteral("--server"),
                       QStringLiteral("127.0.0.1,%1").arg(server.port()), QStringLiteral("--database"),
                       QString::fromUtf16(test::TdsServer::DefaultDatabase), QStringLiteral("--login"),
                       QString::fromUtf16(test::TdsServer::DefaultLogin), QStringLiteral("--project"),
                       cli.path("shop.crv")});
        QVERIFY(process.waitForStarted());
        const auto held = [&] {
            return runBatches(server).join(u'|').contains(QStringLiteral("[name]"));
        };
        QVERIFY(QTest::qWaitFor(held, 20000));
        QTest::qWait(200);
        QCOMPARE(process.state(), QProcess::Running);

        QElapsedTimer clock;
        clock.start();
        QCOMPARE(::kill(pid_t(process.processId()), SIGINT), 0);
        QVERIFY(process.waitForFinished(5000));
        QVERIFY2(clock.elapsed() < 2000, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 1);

        // Install, the stopped column, its cleanup, the drop.
        const QStringList sent = runBatches(server);
        QCOMPARE(sent.size(), 4);
        QCOMPARE(sent.at(2), QStringLiteral("if @@trancount>0 rollback transaction"));
        QVERIFY(sent.last().contains(QStringLiteral("drop function dbo.corvane_split")));
        QVERIFY(!sent.join(u'|').contains(QStringLiteral("[qty]")));
        const QByteArray out = process.readAllStandardOutput();
        QVERIFY2(out.endsWith(" Anonymisation table dbo.Customer column [name] - FAILED \n"
                              "     Stopped by the operator.\n"),
                 out.constData());
        QVERIFY(process.readAllStandardError().endsWith(
            "Stopped by the operator: 0 of 2 columns succeeded, 1 failed.\n"));
    }
};

QTEST_MAIN(TestCliProcess)
#include "test_cliprocess.moc"

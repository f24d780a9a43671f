#include "tests/support/schemarows.h"
#include "cli/commandline.h"
#include "script/generator.h"
#include "tests/support/fakeconnection.h"
#include "tests/support/testlocale.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace corvane;
using test::row;
using test::schemaFields;

namespace {

// Two tables; slots: 1 dbo.Customer, 2 id, 3 name, 4 dbo.Orders, 5 id, 6 qty, 7 customer.
db::Rows shopSchema()
{
    return test::makeRows(
        schemaFields,
        {row("Customer|id|dbo|dbo.Customer|\\N|\\N|\\N|\\N|id|NO|int|\\N"),
         row("Customer|na\tme|dbo|dbo.Customer|\\N|\\N|\\N|\\N|\\N|YES|nvarchar|50"),
         row("Orders|id|dbo|dbo.Orders|\\N|\\N|\\N|\\N|id|NO|int|\\N"),
         row("Orders|qty|dbo|dbo.Orders|\\N|\\N|\\N|\\N|\\N|YES|int|\\N"),
         row("Orders|customer|dbo|dbo.Orders|customer|Customer|id|FK_Orders_Customer|\\N|NO|int|"
             "\\N")});
}

const QString Password = QStringLiteral("pa;ss  \"word");

// The program as a function: arguments in, exit status and both streams out.
struct Cli
{
    test::FakeServer server;
    QByteArray out;
    QByteArray err;
    int passwordAsked = 0;
    bool terminal = false; // both streams on one terminal

    int run(const QStringList& arguments)
    {
        out.clear();
        err.clear();
        QBuffer outBuffer(&out);
        QBuffer errBuffer(&err);
        outBuffer.open(QIODevice::WriteOnly);
        errBuffer.open(QIODevice::WriteOnly);
        cli::Context context;
        context.connect = server.factory();
        context.password = [this]() -> Result<QString> {
            ++passwordAsked;
            return Password;
        };
        context.computerName = QStringLiteral("WS1");
        context.out = &outBuffer;
        context.err = terminal ? &outBuffer : &errBuffer;
        context.errIsTerminal = terminal;
        return cli::RunCommandLine(arguments, context);
    }
};

QStringList login(const char* command)
{
    return {QString::fromLatin1(command), QStringLiteral("--server"), QStringLiteral("db1,1433"),
            QStringLiteral("--database"), QStringLiteral("Shop"), QStringLiteral("--login"),
            QStringLiteral("op")};
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// A project for the shop schema with `lines` replacing the lines of slots 1..7.
QByteArray project(const QByteArray& qty, const QByteArray& name = "-1;;")
{
    return "8\r\n1;;;0;;;\r\n2;id;dbo.Customer;-1;;;\r\n3;na\tme;dbo.Customer;" + name +
           ";\r\n4;;;0;;;\r\n5;id;dbo.Orders;-1;;;\r\n6;qty;dbo.Orders;" + qty +
           ";\r\n7;customer;dbo.Orders;-1;;;\r\n";
}

} // namespace

class TestCommandLine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { test::useTestLocale(); }

    void refusesBadArguments_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("error");
        const QString server = QStringLiteral("--server");
        const QString project = QStringLiteral("--project");
        const QString seed = QStringLiteral("--seed");

        QTest::newRow("no command") << QStringList{}
                                    << "name a command (see corvane-cli --help)";
        QTest::newRow("unknown command") << QStringList{QStringLiteral("dump")}
                                         << "unknown command 'dump' (see corvane-cli --help)";
        QTest::newRow("missing login")
            << login("schema").mid(0, 5) << "schema: missing --login (see corvane-cli schema --help)";
        QTest::newRow("script without project")
            << login("script") << "script: missing --project (see corvane-cli script --help)";
        QTest::newRow("seed on schema")
            << login("schema") + QStringList{seed, QStringLiteral("3")}
            << "schema: --seed does not apply here (see corvane-cli schema --help)";
        QTest::newRow("seed not a number")
            << login("script") + QStringList{project, QStringLiteral("p"), seed, QStringLiteral("7x")}
            << "script: --seed: '7x' is not a valid integer value (see corvane-cli script --help)";
        QTest::newRow("value missing at the end")
            << QStringList{QStringLiteral("schema"), server}
            << "schema: --server needs a value (see corvane-cli schema --help)";
        QTest::newRow("given twice")
            << login("schema") + QStringList{server, QStringLiteral("y")}
            << "schema: --server is given twice (see corvane-cli schema --help)";
        QTest::newRow("empty server")
            << QStringList{QStringLiteral("schema"), QStringLiteral("--server="),
                           QStringLiteral("--database=Shop"), QStringLiteral("--login=op")}
            << "schema: --server, --database and --login must not be empty (see corvane-cli "
               "schema --help)";
        QTest::newRow("password on the command line")
            << login("run") + QStringList{QStringLiteral("--password=") + Password}
            << "run: the password is never taken from the command line; set CORVANE_PASSWORD or "
               "answer the prompt (see corvane-cli run --help)";
        QTest::newRow("stray word")
            << login("schema") + QStringList{QStringLiteral("extra")}
            << "schema: unexpected argument 'extra' (see corvane-cli schema --help)";
        QTest::newRow("check without project")
            << login("check") << "check: missing --project (see corvane-cli check --help)";
        QTest::newRow("force on check")
            << login("check") + QStringList{project, QStringLiteral("p"), QStringLiteral("--force")}
            << "check: --force does not apply here (see corvane-cli check --help)";
    }

    void refusesBadArguments()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, error);
        Cli cli;
        QCOMPARE(cli.run(arguments), 2);
        QCOMPARE(QString::fromUtf8(cli.err), QStringLiteral("corvane-cli: ") + error + u'\n');
        QVERIFY(cli.out.isEmpty());
        QVERIFY(!cli.err.contains(Password.toUtf8()));
        // Nothing is asked or sent before the arguments are sound.
        QCOMPARE(cli.passwordAsked, 0);
        QVERIFY(cli.server.opened.isEmpty());
    }

    void helpNeedsNoConnection()
    {
        Cli cli;
        QCOMPARE(cli.run({QStringLiteral("schema"), QStringLiteral("--server"), QStringLiteral("x"),
                          QStringLiteral("--help")}),
                 0);
        QVERIFY(cli.out.startsWith("Usage: corvane-cli schema --server NAME"));
        QVERIFY(cli.err.isEmpty());
        QCOMPARE(cli.passwordAsked, 0);
    }

    void schemaListsEverySlot()
    {
        Cli cli;
        cli.server.databaseName = QStringLiteral("Shop");
        cli.server.answer(QStringLiteral("INFORMATION_SCHEMA"), shopSchema());
        QCOMPARE(cli.run(login("schema")), 0);
        QCOMPARE(cli.err, QByteArray());
        QCOMPARE(cli.out, QByteArray("1\tdbo.Customer\n"
                                     "2\tdbo.Customer\tid\tint\tNO\t\tid\t\t\t\t\n"
                                     "3\tdbo.Customer\tna\\tme\tnvarchar\tYES\t50\t\t\t\t\t\n"
                                     "4\tdbo.Orders\n"
                                     "5\tdbo.Orders\tid\tint\tNO\t\tid\t\t\t\t\n"
                                     "6\tdbo.Orders\tqty\tint\tYES\t\t\t\t\t\t\n"
                                     "7\tdbo.Orders\tcustomer\tint\tNO\t\t\t\tCustomer\tid\t"
                                     "FK_Orders_Customer\n"));
        // The connection string exactly as the connection dialog builds it;
        // the ';' of the password is quoted so it reads back as typed.
        QCOMPARE(cli.server.opened,
                 QStringList{QStringLiteral(
                     " Provider=SQLOLEDB.1;Password=\"pa;ss  \"\"word\";Persist Security Info=True;"
                     "User ID=op;  Initial Catalog=Shop;Data Source=db1,1433; Use Procedure for "
                     "Prepare=1;  Auto Translate=True;Packet Size=4096;Workstation ID=WS1;  Use "
                     "Encryption for Data=False;Tag with column collation when possible=False")});
        QCOMPARE(cli.server.openConnections, 0);
    }

    void connectionFailures_data()
    {
        QTest::addColumn<QString>("refuse");
        QTest::addColumn<QString>("queryError");
        QTest::addColumn<QString>("error");
        QTest::newRow("login refused")
            << "Login failed for user 'op'." << QString()
            << "corvane-cli: Connection failed. Login failed for user 'op'.\n";
        QTest::newRow("message that holds the password")
            << "bad value pa;ss  \"word in string" << QString()
            << "corvane-cli: Connection failed. bad value *** in string\n";
        QTest::newRow("message that quotes the connection string")
            << "cannot read Password=\"pa;ss  \"\"word\";Persist" << QString()
            << "corvane-cli: Connection failed. cannot read Password=\"***\";Persist\n";
        QTest::newRow("schema query fails")
            << QString() << "Invalid object name 'INFORMATION_SCHEMA.TABLES'."
            << "corvane-cli: The schema could not be read. Invalid object name "
               "'INFORMATION_SCHEMA.TABLES'.\n";
    }

    void connectionFailures()
    {
        QFETCH(QString, refuse);
        QFETCH(QString, queryError);
        QFETCH(QString, error);
        Cli cli;
        cli.server.refuseOpen = refuse;
        if (!queryError.isEmpty())
            cli.server.fail(QStringLiteral("INFORMATION_SCHEMA"), queryError);
        QCOMPARE(cli.run(login("template")), 2);
        QCOMPARE(QString::fromUtf8(cli.err), error);
        QVERIFY(cli.out.isEmpty());
    }

    void templateAndOutputFile()
    {
        QTemporaryDir dir;
        Cli cli;
        cli.server.answer(QStringLiteral("INFORMATION_SCHEMA"), shopSchema());
        QCOMPARE(cli.run(login("template")), 0);
        QCOMPARE(cli.out, project("-1;;", "-1;;"));

        // --output replaces a file whole and writes nothing to standard output.
        const QString path = dir.filePath(QStringLiteral("shop.crv"));
        writeFile(path, "an older, longer project file\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n");
        QCOMPARE(cli.run(login("template") + QStringList{QStringLiteral("--output"), path}), 0);
        QVERIFY(cli.out.isEmpty());
        QCOMPARE(readFile(path), project("-1;;", "-1;;"));
    }

    void unwritableOutputKeepsNothingHalfDone()
    {
        QTemporaryDir dir;
        Cli cli;
        cli.server.answer(QStringLiteral("INFORMATION_SCHEMA"), shopSchema());
        const QString path = dir.filePath(QStringLiteral("no/such/folder/shop.crv"));
        QCOMPARE(cli.run(login("template") + QStringList{QStringLiteral("--output"), path}), 1);
        const QByteArray prefix = "corvane-cli: cannot write " + path.toUtf8() + ": ";
        QVERIFY(cli.err.startsWith(prefix));
        QVERIFY(cli.err.endsWith("\n") && cli.err.count('\n') == 1);
    }

    void scriptOfAProject_data()
    {
        QTest::addColumn<QStringList>("seed");
        QTest::addColumn<int>("seedValue");
        QTest::newRow("default seed 1") << QStringList{} << 1;
        QTest::newRow("seed 7") << QStringList{QStringLiteral("--seed"), QStringLiteral("7")} << 7;
        QTest::newRow("negative seed") << QStringList{QStringLiteral("--seed=-5")} << -5;
    }

    void scriptOfAProject()
    {
        QFETCH(QStringList, seed);
        QFETCH(int, seedValue);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("shop.crv"));
        writeFile(path, project("101;5;", "1001;O'Brien;"));
        Cli cli;
        cli.server.answer(QStringLiteral("INFORMATION_SCHEMA"), shopSchema());
        // The name column holds four characters.
        cli.server.answer(QStringLiteral("from sys.tables"),
                          test::makeRows({QStringLiteral("schema"), QStringLiteral("tab"),
                                          QStringLiteral("col"), QStringLiteral("typ"),
                                          QStringLiteral("max_length"), QStringLiteral("is_nullable"),
                                          QStringLiteral("rows")},
                                         {row("dbo|Customer|na\tme|nvarchar|8|1|3"),
                                          row("dbo|Orders|qty|int|4|1|3")}));
        QCOMPARE(cli.run(login("script") + QStringList{QStringLiteral("--project"), path} + seed), 0);
        QCOMPARE(cli.err, QByteArray());
        // The header names the target, the seed and what the check found
        // (the TAB of a name kept inside its comment); the USE keeps the
        // script to that database.
        const QByteArray header = "-- Corvane masking script\r\n-- Database: fixture\r\n"
                                  "-- Server: db1,1433\r\n-- Seed: " +
                                  QByteArray::number(seedValue) + "\r\n-- Date: " +
                                  QDate::currentDate().toString(Qt::ISODate).toUtf8() +
                                  "\r\n-- Masked columns: 2\r\n"
                                  "-- Check: 1 error, 0 warnings\r\n"
                                  "-- error too-long: dbo.Customer [na?me] (Constant value varchar): "
                                  "constant of 7 characters is longer than nvarchar(4): the server "
                                  "refuses it (string or binary data would be truncated); shorten it\r\n"
                                  "USE [fixture]\r\n\r\n";
        // Blocks in slot order, each followed by two line breaks; the text
        // ends with one more, as the SQL page saves it.
        QVERIFY(cli.out.startsWith(QByteArray(header + script::BuildPreamble(seedValue).toUtf8() + "begin try \r\n")));
        const qsizetype name = cli.out.indexOf(" update [dbo].[Customer] set [na\tme]=N'O''Brien' \r\n");
        const qsizetype qty = cli.out.indexOf(" update [dbo].[Orders] set [qty]=5 \r\n");
        QVERIFY(name > 0 && qty > name);
        QCOMPARE(cli.out.count("end catch \r\n\r\n"), 2);
        QVERIFY(cli.out.endsWith("end catch \r\n\r\n\r\n"));
    }

    void scriptRefusesAnIncompatibleProject_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("error");
        QTest::newRow("slot count") << QByteArray("7\r\n") << "Incompatible file for this database !.";
        QTest::newRow("not a number") << QByteArray("eight\r\n")
                                      << "'eight' is not a valid integer value";
    }

    void scriptRefusesAnIncompatibleProject()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, error);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("shop.crv"));
        const QString output = dir.filePath(QStringLiteral("shop.sql"));
        writeFile(path, file);
        Cli cli;
        cli.server.answer(QStringLiteral("INFORMATION_SCHEMA"), shopSchema());
        QCOMPARE(cli.run(login("script") + QStringList{QStringLiteral("--project"), path,
                                                       QStringLiteral("--output"), output}),
                 2);
        QCOMPARE(QString::fromUtf8(cli.err), QStringLiteral("corvane-cli: ") + error + u'\n');
        QVERIFY(!QFile::exists(output));
    }

    void scriptStoppedByAMissingWordListWritesNothing()
    {
        QTemporaryDir dir;
        QDir(dir.path()).mkdir(QStringLiteral("virtual_data"));
        const QString path = dir.filePath(QStringLiteral("shop.crv"));
        const QString output = dir.filePath(QStringLiteral("shop.sql"));
        writeFile(path, project("101;5;", "1007;names;"));
        writeFile(output, "the script of yesterday\r\n");
        const QString cwd = QDir::currentPath();
        QDir::setCurrent(dir.path());
        Cli cli;
        cli.server.answer(QStringLiteral("INFORMATION_SCHEMA"), shopSchema());
        const int status = cli.run(login("script") + QStringList{QStringLiteral("--project"), path,
                                                                 QStringLiteral("--output"), output});
        QDir::setCurrent(cwd);
        QCOMPARE(status, 1);
        QCOMPARE(cli.err,
                 QByteArray("corvane-cli: File names.txt with virtual data does not exist.\n"));
        QCOMPARE(readFile(output), QByteArray("the script of yesterday\r\n"));
    }

    void runLogsEachColumnAndExits_data()
    {
        QTest::addColumn<QByteArray>("qty");
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QString>("failing");   // a batch holding this fails
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("log");
        QTest::addColumn<QByteArray>("progress");
        QTest::addColumn<int>("batches");       // sent after the schema and facts queries

        const QByteArray nameOk = " Anonymisation table dbo.Customer column [na\tme] - successful \n";
        const QByteArray qtyOk = " Anonymisation table dbo.Orders column [qty] - successful \n";
        QTest::newRow("first column fails, the run goes on")
            << QByteArray("101;5;") << QByteArray("1009;;") << QStringLiteral("[na\tme]") << 1
            << " Anonymisation table dbo.Customer column [na\tme] - FAILED \n"
               "     Invalid column name 'na\tme'.\n" + qtyOk
            << QByteArray("Masking 2 columns in 2 tables of database [fixture] on server [db1,1433].\n0 of 2 masked columns done\n1 of 2 masked columns done\n"
                          "2 of 2 masked columns done\n"
                          "Finished with failures: 1 of 2 columns succeeded, 1 failed.\n")
            << 5; // with the rollback of what the failed batch may have left open
        QTest::newRow("nothing masked")
            << QByteArray("100;;") << QByteArray("-1;;") << QString() << 0 << QByteArray()
            << QByteArray("No column is masked: there is nothing to run.\n") << 0;
        QTest::newRow("split function cannot be installed")
            << QByteArray("101;5;") << QByteArray("1009;;") << QStringLiteral("create FUNCTION")
            << 2 << QByteArray()
            // Error lines are one line: white space of any kind becomes a blank.
            << QByteArray("Masking 2 columns in 2 tables of database [fixture] on server [db1,1433].\n0 of 2 masked columns done\n"
                          "corvane-cli: Invalid column name 'na me'.\n")
            << 1;
        QTest::newRow("word list missing before the first batch")
            << QByteArray("101;5;") << QByteArray("1007;names;") << QString() << 2 << QByteArray()
            << QByteArray("Masking 2 columns in 2 tables of database [fixture] on server [db1,1433].\n0 of 2 masked columns done\n"
                          "corvane-cli: File names.txt with virtual data does not exist.\n")
            << 2;
        QTest::newRow("word list missing after a batch")
            << QByteArray("1007;names;") << QByteArray("1009;;") << QString() << 1 << nameOk
            << QByteArray("Masking 2 columns in 2 tables of database [fixture] on server [db1,1433].\n0 of 2 masked columns done\n1 of 2 masked columns done\n"
                          "corvane-cli: File names.txt with virtual data does not exist.\n")
            << 3;
        QTest::newRow("split function cannot be dropped")
            << QByteArray("100;;") << QByteArray("1009;;") << QStringLiteral("drop function") << 1
            << nameOk
            << QByteArray("Masking 1 column in 1 table of database [fixture] on server [db1,1433].\n0 of 1 masked columns done\n1 of 1 masked columns done\n"
                          "corvane-cli: Invalid column name 'na me'.\n")
            << 3;
    }

    void runLogsEachColumnAndExits()
    {
        QFETCH(QByteArray, qty);
        QFETCH(QByteArray, name);
        QFETCH(QString, failing);
        QFETCH(int, status);
        QFETCH(QByteArray, log);
        QFETCH(QByteArray, progress);
        QFETCH(int, batches);

        QTemporaryDir dir;
        QDir(dir.path()).mkdir(QStringLiteral("virtual_data"));
        const QString path = dir.filePath(QStringLiteral("shop.crv"));
        writeFile(path, project(qty, name));
        Cli cli;
        cli.server.answer(QStringLiteral("INFORMATION_SCHEMA"), shopSchema());
        if (!failing.isEmpty())
            cli.server.fail(failing, QStringLiteral("Invalid column name 'na\tme'."));
        const QString cwd = QDir::currentPath();
        QDir::setCurrent(dir.path());
        const int exitStatus =
            cli.run(login("run") + QStringList{QStringLiteral("--project"), path,
                                               QStringLiteral("--seed"), QStringLiteral("7")});
        QDir::setCurrent(cwd);

        QCOMPARE(cli.out, log);
        QCOMPARE(cli.err, progress);
        QCOMPARE(exitStatus, status);
        QCOMPARE(cli.server.sent.size(), 2 + batches);
        if (batches >= 2) {
            // Every column's batch is the whole preamble with the seed, then its block.
            for (qsizetype i = 3; i < cli.server.sent.size() - 1; ++i) {
                const QString& sent = cli.server.sent.at(i);
                QVERIFY(sent.startsWith(script::BuildPreamble(7)) ||
                        sent == QStringLiteral("if @@trancount>0 rollback transaction"));
            }
        }
        // The run goes to the database that the catalogue was read from.
        QVERIFY(cli.server.opened.size() >= 1);
        for (const QString& opened : cli.server.opened)
            QCOMPARE(opened, cli.server.opened.first());
    }

    void progressOnATerminalKeepsOneLine()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("shop.crv"));
        writeFile(path, project("101;5;", "1009;;"));
        Cli cli;
        cli.terminal = true;
        cli.server.answer(QStringLiteral("INFORMATION_SCHEMA"), shopSchema());
        QCOMPARE(cli.run(login("run") + QStringList{QStringLiteral("--project"), path}), 0);
        // What the operator's screen receives, both streams together: each log
        // line replaces the progress line, which is drawn again below it.
        QCOMPARE(cli.out,
                 QByteArray("Masking 2 columns in 2 tables of database [fixture] on server [db1,1433].\n"
                            "\r0 of 2 masked columns done\x1b[K\r\x1b[K"
                            " Anonymisation table dbo.Customer column [na\tme] - successful \n"
                            "\r1 of 2 masked columns done\x1b[K\r\x1b[K"
                            " Anonymisation table dbo.Orders column [qty] - successful \n"
                            "\r2 of 2 masked columns done\x1b[K\n"
                            "Finished !\n"));
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "test_commandline.moc"

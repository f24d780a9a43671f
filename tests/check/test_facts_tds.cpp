#include "check/factsquery.h"
#include "check/rules.h"
#include "cli/commandline.h"
#include "db/odbcconnection.h"
#include "tests/support/tdsserver.h"
#include "tests/support/testlocale.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

using namespace corvane;
using namespace corvane::check;
using test::TdsServer;
using namespace Qt::StringLiterals;

namespace {

// Three tables with a column of each kind the check knows. People: 2.5
// million rows; Orders: none; Prices: system-versioned, with a trigger.
const QByteArray SchemaRule = R"({"match": "INFORMATION_SCHEMA.TABLES", "columns": [
    {"name": "tab", "type": "nvarchar"}, {"name": "col", "type": "nvarchar"},
    {"name": "schema", "type": "nvarchar"}, {"name": "stab", "type": "nvarchar"},
    {"name": "FK_Column", "type": "nvarchar"}, {"name": "PK_Table", "type": "nvarchar"},
    {"name": "PK_Column", "type": "nvarchar"}, {"name": "Constraint_Name", "type": "nvarchar"},
    {"name": "PK", "type": "nvarchar"}, {"name": "isnull", "type": "nvarchar"},
    {"name": "typ", "type": "nvarchar"}, {"name": "char_max", "type": "int"}], "rows": [
    ["People", "id", "dbo", "dbo.People", null, null, null, null, "id", "NO", "int", null],
    ["People", "code", "dbo", "dbo.People", null, null, null, null, null, "NO", "nvarchar", 10],
    ["People", "name", "dbo", "dbo.People", null, null, null, null, null, "YES", "varchar", 40],
    ["People", "total", "dbo", "dbo.People", null, null, null, null, null, "YES", "decimal", null],
    ["People", "rv", "dbo", "dbo.People", null, null, null, null, null, "NO", "timestamp", null],
    ["People", "age", "dbo", "dbo.People", null, null, null, null, null, "YES", "tinyint", null],
    ["People", "price", "dbo", "dbo.People", null, null, null, null, null, "YES", "decimal", null],
    ["People", "notes", "dbo", "dbo.People", null, null, null, null, null, "YES", "varchar", -1],
    ["Orders", "id", "dbo", "dbo.Orders", null, null, null, null, "id", "NO", "int", null],
    ["Orders", "person", "dbo", "dbo.Orders", "person", "People", "id", "FK_Orders_People", null, "NO", "int", null],
    ["Orders", "region", "dbo", "dbo.Orders", "region", "Regions", "id", "FK_Orders_Region", null, "YES", "int", null],
    ["Prices", "valid_from", "dbo", "dbo.Prices", null, null, null, null, null, "NO", "datetime2", null],
    ["Prices", "amount", "dbo", "dbo.Prices", null, null, null, null, null, "YES", "money", null]]})";

QByteArray factsColumns()
{
    return R"([
    {"name": "schema", "type": "nvarchar"}, {"name": "tab", "type": "nvarchar"},
    {"name": "col", "type": "nvarchar"}, {"name": "typ", "type": "nvarchar"},
    {"name": "max_length", "type": "int"}, {"name": "precision", "type": "int"},
    {"name": "scale", "type": "int"}, {"name": "is_nullable", "type": "bit"},
    {"name": "is_identity", "type": "bit"}, {"name": "is_computed", "type": "bit"},
    {"name": "generated_always", "type": "int"}, {"name": "is_sparse", "type": "bit"},
    {"name": "temporal_type", "type": "int"}, {"name": "is_memory_optimized", "type": "bit"},
    {"name": "unique_index", "type": "nvarchar"}, {"name": "unique_columns", "type": "int"},
    {"name": "unique_filtered", "type": "bit"}, {"name": "referenced_by", "type": "int"},
    {"name": "without_cascade", "type": "int"}, {"name": "blocking_key", "type": "nvarchar"},
    {"name": "foreign_keys", "type": "int"}, {"name": "foreign_key_columns", "type": "int"},
    {"name": "triggers", "type": "int"}, {"name": "first_trigger", "type": "nvarchar"},
    {"name": "rows", "type": "bigint"}])";
}

// The facts query's rows; `rows` stands for each table's row count.
QByteArray factsRows(const char* people, const char* orders, const char* prices)
{
    QByteArray text = R"([
    ["dbo", "People", "id", "int", 4, 10, 0, false, true, false, 0, false, 0, false, "PK_People", 1, false, 2, 1, "FK_Orders_People", 0, 0, 0, null, PEOPLE],
    ["dbo", "People", "code", "nvarchar", 20, 0, 0, false, false, false, 0, false, 0, false, "UQ_People_code", 1, false, 0, 0, "", 0, 0, 0, null, PEOPLE],
    ["dbo", "People", "name", "varchar", 40, 0, 0, true, false, false, 0, false, 0, false, null, null, null, 0, null, null, 0, null, 0, null, PEOPLE],
    ["dbo", "People", "total", "decimal", 9, 10, 2, true, false, true, 0, false, 0, false, null, null, null, 0, null, null, 0, null, 0, null, PEOPLE],
    ["dbo", "People", "rv", "timestamp", 8, 0, 0, false, false, false, 0, false, 0, false, null, null, null, 0, null, null, 0, null, 0, null, PEOPLE],
    ["dbo", "People", "age", "tinyint", 1, 3, 0, true, false, false, 0, false, 0, false, null, null, null, 0, null, null, 0, null, 0, null, PEOPLE],
    ["dbo", "People", "price", "decimal", 5, 6, 2, true, false, false, 0, false, 0, false, null, null, null, 0, null, null, 0, null, 0, null, PEOPLE],
    ["dbo", "People", "notes", "varchar", -1, 0, 0, true, false, false, 0, true, 0, false, null, null, null, 0, null, null, 0, null, 0, null, PEOPLE],
    ["dbo", "Orders", "id", "int", 4, 10, 0, false, false, false, 0, false, 0, false, "PK_Orders", 1, false, 0, null, null, 0, null, 0, null, ORDERS],
    ["dbo", "Orders", "person", "int", 4, 10, 0, false, false, false, 0, false, 0, false, null, null, null, 0, null, null, 1, 1, 0, null, ORDERS],
    ["dbo", "Orders", "region", "int", 4, 10, 0, true, false, false, 0, false, 0, false, null, null, null, 0, null, null, 1, 2, 0, null, ORDERS],
    ["dbo", "Prices", "valid_from", "datetime2", 8, 27, 3, false, false, false, 1, false, 2, false, null, null, null, 0, null, null, 0, null, 1, "trg_prices", PRICES],
    ["dbo", "Prices", "amount", "money", 8, 19, 4, true, false, false, 0, false, 2, false, null, null, null, 0, null, null, 0, null, 1, "trg_prices", PRICES]])";
    text.replace("PEOPLE", people).replace("ORDERS", orders).replace("PRICES", prices);
    return text;
}

// JSON text of a string, quotes and escapes included.
QByteArray quoted(const QString& text)
{
    const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return array.mid(1, array.size() - 2);
}

QByteArray rule(const QString& match, const QByteArray& rows)
{
    return "{\"match\": " + quoted(match) + ", \"exact\": true, \"columns\": " +
           factsColumns() + ", \"rows\": " + rows + "}";
}

const QByteArray PartitionsDenied =
    R"({"match": "sys.partitions", "error": {"number": 229, "severity": 14, "message": "The SELECT permission was denied on the object 'partitions', database 'mssqlsystemresource', schema 'sys'."}})";

const QByteArray ColumnsDenied =
    R"({"match": "from sys.tables", "error": {"number": 229, "severity": 14, "message": "The SELECT permission was denied on the object 'columns', database 'mssqlsystemresource', schema 'sys'."}})";

QByteArray fixture(bool denyPartitions)
{
    const QByteArray facts =
        denyPartitions
            ? PartitionsDenied + ", " +
                  rule(FactsQuery(unsigned(FactGroup::RowCounts)), factsRows("null", "null", "null"))
            : rule(FactsQuery(), factsRows("2500000", "0", "5"));
    return TdsServer::defaultFixture("[" + SchemaRule + ", " + facts + "]");
}

// A column's facts in one line.
QString describe(const ColumnFacts& c)
{
    QStringList flags;
    if (!c.nullable)
        flags << QStringLiteral("not null");
    if (c.identity)
        flags << QStringLiteral("identity");
    if (c.computed)
        flags << QStringLiteral("computed");
    if (c.rowversion())
        flags << QStringLiteral("rowversion");
    if (c.generatedAlways)
        flags << QStringLiteral("generated");
    if (c.sparse)
        flags << QStringLiteral("sparse");
    if (!c.uniqueIndex.isEmpty())
        flags << QStringLiteral("unique %1/%2").arg(c.uniqueIndex).arg(c.uniqueColumns);
    if (c.referencedBy)
        flags << QStringLiteral("referenced %1/%2 %3").arg(c.referencedBy).arg(c.referencedWithoutCascade).arg(c.blockingKey);
    if (c.foreignKeys)
        flags << QStringLiteral("key %1/%2").arg(c.foreignKeys).arg(c.foreignKeyColumns);
    return c.declaredType() + u' ' + flags.join(QStringLiteral(", "));
}

// The facts as a fresh connection to `server` reads them.
Result<Facts> loadFacts(const TdsServer& server)
{
    if (!server.started())
        return Error::failure(QStringLiteral("the test server did not start"));
    auto connection = db::MakeOdbcConnection();
    if (Status opened = connection->open(server.connectionString()); !opened)
        return opened.error();
    return LoadFacts(*connection);
}

} // namespace

class TestFactsTds : public QObject
{
    Q_OBJECT

    // The program as a function, on the real driver against the test server.
    struct Cli
    {
        QByteArray out, err;
        int status = -1;
    };
    Cli runCli(const TdsServer& server, const QString& command, const QByteArray& project,
               const QStringList& more = {})
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("p.crv"));
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(project);
        file.close();
        Cli result;
        QBuffer out(&result.out), err(&result.err);
        out.open(QIODevice::WriteOnly);
        err.open(QIODevice::WriteOnly);
        cli::Context context;
        context.connect = [] { return db::MakeOdbcConnection(); };
        context.password = [] { return Result<QString>(QString::fromUtf16(TdsServer::DefaultPassword)); };
        context.computerName = QStringLiteral("WS1");
        context.out = &out;
        context.err = &err;
        const QString cwd = QDir::currentPath();
        QDir::setCurrent(dir.path()); // no word lists here
        result.status = cli::RunCommandLine(
            QStringList{command, QStringLiteral("--server"), u"127.0.0.1,"_s + QString::number(server.port()),
                        QStringLiteral("--database"), QString::fromUtf16(TdsServer::DefaultDatabase),
                        QStringLiteral("--login"), QString::fromUtf16(TdsServer::DefaultLogin),
                        QStringLiteral("--project"), path} + more,
            context);
        QDir::setCurrent(cwd);
        return result;
    }

private Q_SLOTS:
    void initTestCase() { test::useTestLocale(); }

    // Every column that the query names is one of its view's columns in the
    // view's own case, with the stubs of unreadable groups as with the rest.
    void queryNamesColumnsInTheirOwnCase()
    {
        const QSet<QString> known = {
            // sys.tables, sys.columns, sys.types
            u"object_id"_s, u"schema_id"_s, u"name"_s, u"is_ms_shipped"_s, u"temporal_type"_s,
            u"is_memory_optimized"_s, u"column_id"_s, u"system_type_id"_s, u"user_type_id"_s,
            u"max_length"_s, u"precision"_s, u"scale"_s, u"is_nullable"_s, u"is_identity"_s,
            u"is_computed"_s, u"generated_always_type"_s, u"is_sparse"_s,
            // sys.indexes, sys.index_columns
            u"index_id"_s, u"key_ordinal"_s, u"is_unique"_s, u"is_disabled"_s,
            u"is_hypothetical"_s, u"has_filter"_s,
            // sys.foreign_key_columns, sys.foreign_keys
            u"constraint_object_id"_s, u"parent_object_id"_s, u"parent_column_id"_s,
            u"referenced_object_id"_s, u"referenced_column_id"_s, u"update_referential_action"_s,
            // sys.triggers, sys.partitions
            u"parent_id"_s, u"rows"_s,
            // columns of the query's own derived tables
            u"key_columns"_s, u"referenced_by"_s, u"without_cascade"_s, u"blocking_key"_s,
            u"foreign_keys"_s, u"triggers"_s, u"first_trigger"_s};
        static const QRegularExpression reference(QStringLiteral("\\b([a-z]+)\\.\\[?([A-Za-z_]+)\\]?"));
        for (unsigned unknown : {0u, 0x3eu}) {
            const QString query = FactsQuery(unknown);
            int references = 0;
            for (const auto& m : reference.globalMatch(query)) {
                if (m.captured(1) == u"sys")
                    continue;
                ++references;
                QVERIFY2(known.contains(m.captured(2)), qPrintable(m.captured(0)));
            }
            QVERIFY(references > 20);
            QCOMPARE(query.count(u"outer apply"_s), 5);
        }
        // A stub reads no catalogue view, so that a denied view is not read again.
        QVERIFY(!FactsQuery(unsigned(FactGroup::RowCounts)).contains(u"sys.partitions"_s));
        QVERIFY(!FactsQuery(unsigned(FactGroup::Triggers)).contains(u"sys.triggers"_s));
    }

    void loadsEachKindOfColumn()
    {
        TdsServer server(fixture(false));
        const Result<Facts> facts = loadFacts(server);
        QVERIFY2(facts.ok(), facts.ok() ? "" : qPrintable(facts.error().message));
        QCOMPARE(server.batches(), QStringList{FactsQuery()});
        QVERIFY(facts->unknownNames().isEmpty());

        const auto column = [&](const char* table, const char* name) {
            const ColumnFacts* c = facts.value().findColumn(u"dbo"_s, QLatin1String(table), QLatin1String(name));
            return c ? describe(*c) : u"<missing>"_s;
        };
        QCOMPARE(column("People", "id"), u"int not null, identity, unique PK_People/1, referenced 2/1 FK_Orders_People"_s);
        QCOMPARE(column("People", "code"), u"nvarchar(10) not null, unique UQ_People_code/1"_s);
        QCOMPARE(column("People", "name"), u"varchar(40) "_s);
        QCOMPARE(column("People", "total"), u"decimal(10,2) computed"_s);
        QCOMPARE(column("People", "rv"), u"rowversion not null, rowversion"_s);
        QCOMPARE(column("People", "price"), u"decimal(6,2) "_s);
        QCOMPARE(column("People", "notes"), u"varchar(max) sparse"_s);
        QCOMPARE(column("Orders", "region"), u"int key 1/2"_s);
        QCOMPARE(column("Prices", "valid_from"), u"datetime2(3) not null, generated"_s);
        QCOMPARE(column("people", "id"), u"<missing>"_s); // names match in their exact case

        const TableFacts* people = facts->findTable(u"dbo"_s, u"People"_s);
        const TableFacts* prices = facts->findTable(u"dbo"_s, u"Prices"_s);
        QVERIFY(people && prices);
        QCOMPARE(people->rows, std::optional<std::int64_t>(2500000));
        QCOMPARE(facts->findTable(u"dbo"_s, u"Orders"_s)->rows, std::optional<std::int64_t>(0));
        QVERIFY(!people->temporal && prices->temporal);
        QCOMPARE(prices->triggers, 1);
        QCOMPARE(prices->firstTrigger, u"trg_prices"_s);
    }

    // A login that may not read sys.partitions: the query is sent again
    // without them and everything else is known.
    void partitionsDenied()
    {
        TdsServer server(fixture(true));
        const Result<Facts> facts = loadFacts(server);
        QVERIFY2(facts.ok(), facts.ok() ? "" : qPrintable(facts.error().message));
        QCOMPARE(server.batches(), (QStringList{FactsQuery(), FactsQuery(unsigned(FactGroup::RowCounts))}));
        QCOMPARE(facts->unknownNames(), QStringList{u"row count"_s});
        QVERIFY(facts->unknownReason().contains(u"permission was denied on the object 'partitions'"_s));
        QVERIFY(facts->findColumn(u"dbo"_s, u"People"_s, u"id"_s)->identity);
        QVERIFY(!facts->findTable(u"dbo"_s, u"People"_s)->rows);
    }

    // Anything else than a denied view of an optional group ends the load.
    void columnsDeniedFails()
    {
        TdsServer server(TdsServer::defaultFixture("[" + ColumnsDenied + "]"));
        const Result<Facts> facts = loadFacts(server);
        QVERIFY(!facts.ok());
        QVERIFY(facts.error().message.contains(u"'columns'"_s));
        QCOMPARE(server.batches().size(), 1);
    }

    void checkCommand_data()
    {
        QTest::addColumn<bool>("denyPartitions");
        QTest::addColumn<QByteArray>("methods"); // slots 2..16, one "method;param1;param2" each
        QTest::addColumn<QByteArray>("lines");
        QTest::addColumn<int>("status");

        const QByteArray faults =
            "104;;|1009;;|1001;Zoë Ångström;|2002;5;2|-1;;|103;0;300|2001;12345.5;|1003;10;5|"
            "-1;;|105;7;|108;;|9;;|2003;1;9";
        QTest::newRow("a fault of each kind")
            << false << faults
            << QByteArray(
                   "error\tdbo.People\tid\t104\tread-only\tidentity column: the server refuses to update it; leave it unmasked\n"
                   "error\tdbo.People\tid\t104\tunique\tin unique index PK_People: the shuffle writes row by row, and each value it writes is still held by another row, so the first update breaks the index; leave the column unmasked or drop the index for the run\n"
                   "error\tdbo.People\tid\t104\treferenced-key\treferenced by foreign key FK_Orders_People without ON UPDATE CASCADE: a changed value leaves the rows that point at it without their key; leave the column unmasked\n"
                   "warning\tdbo.People\tid\t104\tlarge-table\tthis method updates row by row: about 2,500,000 single-row updates for this column alone, each a statement of its own; expect a long run, or choose a one-statement method\n"
                   "error\tdbo.People\tcode\t1009\tnot-null\tNOT NULL column: the server refuses NULL; choose a method that writes values\n"
                   "error\tdbo.People\tcode\t1009\tunique\tin unique index UQ_People_code: it allows one NULL, not one per row; leave the column unmasked or choose a method that draws values\n"
                   "warning\tdbo.People\tname\t1001\tunicode\tthe text 'Zoë Ångström' goes into a column of one code page: characters outside the column's code page become '?'; keep to characters it holds\n"
                   "error\tdbo.People\ttotal\t2002\tread-only\tcomputed column: it cannot be updated; mask the columns it is computed from instead\n"
                   "warning\tdbo.People\ttotal\t2002\tlarge-table\tthis method updates row by row: about 2,500,000 single-row updates for this column alone, each a statement of its own; expect a long run, or choose a one-statement method\n"
                   "error\tdbo.People\tage\t103\tout-of-range\tupper bound 300 does not fit the column: tinyint holds 0 to 255\n"
                   "warning\tdbo.People\tage\t103\tlarge-table\tthis method updates row by row: about 2,500,000 single-row updates for this column alone, each a statement of its own; expect a long run, or choose a one-statement method\n"
                   "error\tdbo.People\tprice\t2001\tout-of-range\tconstant 12345.5 does not fit the column: decimal(6,2) holds at most 4 digits before the decimal point\n"
                   "warning\tdbo.People\tnotes\t1003\tlarge-table\tthis method updates row by row: about 2,500,000 single-row updates for this column alone, each a statement of its own; expect a long run, or choose a one-statement method\n"
                   "warning\tdbo.People\tnotes\t1003\treversed-interval\tthe interval runs from 10 down to 5: its ends are reversed; swap them\n"
                   "warning\tdbo.Orders\tperson\t105\tempty-table\tthe table has no rows: there is nothing to mask\n"
                   "error\tdbo.Orders\tregion\t108\tforeign-key-method\tpart of foreign key FK_Orders_Region of 2 columns: the method draws values of one referenced column alone, which the key's other columns need not match; leave the column unmasked\n"
                   "warning\tdbo.Orders\tregion\t108\tempty-table\tthe table has no rows: there is nothing to mask\n"
                   "error\tdbo.Prices\tvalid_from\t9\tread-only\tperiod column of a system-versioned table: the server sets it itself and refuses updates; leave it unmasked\n"
                   "error\tdbo.Prices\tvalid_from\t9\tnot-null\tNOT NULL column: the server refuses NULL; choose a method that writes values\n"
                   "warning\tdbo.Prices\tvalid_from\t9\ttriggers\tthe table has 1 enabled UPDATE trigger(s) (trg_prices) that fire for every row this method changes; disable them for the run if they must not\n"
                   "warning\tdbo.Prices\tvalid_from\t9\thistory\tsystem-versioned table: its history table keeps every value this method replaces; mask or purge the history as well\n"
                   "warning\tdbo.Prices\tamount\t2003\ttriggers\tthe table has 1 enabled UPDATE trigger(s) (trg_prices) that fire for every row this method changes; disable them for the run if they must not\n"
                   "warning\tdbo.Prices\tamount\t2003\thistory\tsystem-versioned table: its history table keeps every value this method replaces; mask or purge the history as well\n")
            << 2;
        QTest::newRow("warnings only")
            << false << QByteArray("-1;;|-1;;|1001;Zoe;|-1;;|-1;;|101;7;|-1;;|-1;;|-1;;|105;7;|-1;;|-1;;|-1;;")
            << QByteArray("warning\tdbo.Orders\tperson\t105\tempty-table\tthe table has no rows: there is nothing to mask\n")
            << 1;
        QTest::newRow("nothing found")
            << false << QByteArray("-1;;|-1;;|1001;Zoe;|-1;;|-1;;|101;7;|-1;;|-1;;|-1;;|-1;;|-1;;|-1;;|-1;;")
            << QByteArray() << 0;
        const QByteArray unknown =
            "warning\tdbo.People\t\t\tfacts-unknown\trow count unknown (The SELECT permission was denied on the object 'partitions', database 'mssqlsystemresource', schema 'sys'.): the rules that need them were not applied to this table; check it by hand or log in with the right to view its definition\n";
        QTest::newRow("row count unknown")
            << true << QByteArray("-1;;|-1;;|1001;Zoe;|-1;;|-1;;|103;0;300|-1;;|-1;;|-1;;|-1;;|-1;;|-1;;|-1;;")
            << QByteArray(unknown + "error\tdbo.People\tage\t103\tout-of-range\tupper bound 300 does not fit the column: tinyint holds 0 to 255\n")
            << 2;
    }
    void checkCommand()
    {
        QFETCH(bool, denyPartitions);
        QFETCH(QByteArray, methods);
        QFETCH(QByteArray, lines);
        QFETCH(int, status);
        TdsServer server(fixture(denyPartitions));
        QVERIFY(server.started());
        const Cli cli = runCli(server, u"check"_s, project(methods));
        QCOMPARE(cli.err, QByteArray());
        QCOMPARE(cli.out, lines);
        QCOMPARE(cli.status, status);
        // Nothing but the two (or, with a denied view, three) queries was sent.
        QCOMPARE(server.batches().size(), denyPartitions ? 3 : 2);
    }

    void runRefusesErrorsUnlessForced()
    {
        TdsServer server(fixture(false));
        QVERIFY(server.started());
        const QByteArray methods = "-1;;|-1;;|-1;;|-1;;|-1;;|103;0;300|-1;;|-1;;|-1;;|-1;;|-1;;|-1;;|-1;;";
        const Cli refused = runCli(server, u"run"_s, project(methods));
        QCOMPARE(refused.status, 2);
        QCOMPARE(refused.out, QByteArray());
        QCOMPARE(refused.err, QByteArray("corvane-cli: the check found 1 error, 1 warning; nothing was changed (see corvane-cli check, or give --force to run anyway)\n"));
        QCOMPARE(server.batches().size(), 2); // the schema and the facts, no column

        server.clearBatches();
        const Cli forced = runCli(server, u"run"_s, project(methods), {u"--force"_s});
        QCOMPARE(forced.status, 0);
        QVERIFY(forced.err.startsWith("corvane-cli: the check found 1 error, 1 warning; running as --force asks\n"));
        QVERIFY(forced.out.contains("column [age] - successful"));
        QVERIFY(server.batches().size() > 2);
    }

private:
    // A project for the fixture: slots 2..9, 11..13, 15..16 take `methods`.
    static QByteArray project(const QByteArray& methods)
    {
        const QList<QByteArray> m = methods.split('|');
        const QList<std::pair<const char*, const char*>> layout = {
            {"", ""}, {"id", "dbo.People"}, {"code", "dbo.People"}, {"name", "dbo.People"},
            {"total", "dbo.People"}, {"rv", "dbo.People"}, {"age", "dbo.People"},
            {"price", "dbo.People"}, {"notes", "dbo.People"}, {"", ""}, {"id", "dbo.Orders"},
            {"person", "dbo.Orders"}, {"region", "dbo.Orders"}, {"", ""},
            {"valid_from", "dbo.Prices"}, {"amount", "dbo.Prices"}};
        QByteArray text = "17\r\n";
        int next = 0;
        for (int i = 0; i < layout.size(); ++i) {
            const QByteArray col = layout[i].first;
            const QByteArray method = col.isEmpty() ? QByteArray("0;;") : m.value(next++);
            text += QByteArray::number(i + 1) + ';' + col + ';' + layout[i].second + ';' + method + ";\r\n";
        }
        return text;
    }
};

QTEST_GUILESS_MAIN(TestFactsTds)
#include "test_facts_tds.moc"

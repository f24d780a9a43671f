#include "catalogue/loader.h"
#include "db/odbcconnection.h"
#include "tests/support/tdsserver.h"
#include "tests/support/testlocale.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

using namespace corvane;
using test::TdsServer;

namespace {

// The schema query's result columns, in the query's order.
QJsonArray schemaColumns()
{
    QJsonArray columns;
    const auto add = [&](const char* name, const char* type) {
        columns.append(QJsonObject{{QStringLiteral("name"), QLatin1String(name)},
                                   {QStringLiteral("type"), QLatin1String(type)}});
    };
    for (const char* name : {"tab", "col", "schema", "stab", "FK_Column", "PK_Table", "PK_Column",
                             "Constraint_Name", "PK", "isnull", "typ"})
        add(name, "nvarchar");
    add("char_max", "int");
    return columns;
}

// A fixture whose database "fixture" answers the schema query with `rows`
// (a JSON array of rows in the query's column order).
QByteArray schemaFixture(const QByteArray& rows)
{
    const QJsonObject rule{{QStringLiteral("match"), GetMetadataQuery()},
                           {QStringLiteral("exact"), true},
                           {QStringLiteral("columns"), schemaColumns()},
                           {QStringLiteral("rows"), QJsonDocument::fromJson(rows).array()}};
    return TdsServer::defaultFixture(QJsonDocument(QJsonArray{rule}).toJson());
}

// A slot as one line: stab|col|PK_table|PK_column|Constraint_Name|PK|typ|isnull|char_max|method
QString describe(const TColumnRec& rec)
{
    return QStringList{rec.stab, rec.col, rec.PK_table, rec.PK_column, rec.Constraint_Name, rec.PK,
                       rec.typ, rec.isnull, rec.char_max, QString::number(rec.method)}
        .join(u'|');
}

QStringList describe(const TData& catalogue)
{
    QStringList lines;
    for (const TColumnRec& rec : catalogue)
        lines << describe(rec);
    return lines;
}

// Each node as "<level> <text>".
QStringList describe(const SchemaTree& tree)
{
    QStringList lines;
    for (const SchemaTree::Node& node : tree.nodes)
        lines << QString::number(node.level) + u' ' + node.text;
    return lines;
}

const QString Empty = QStringLiteral("|||||||||0");

QString longName(const QString& stem, int length)
{
    QString name = stem;
    while (name.size() < length)
        name += QChar(char16_t(u'a' + name.size() % 26));
    return name;
}

} // namespace

class TestLoaderTds : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { test::useTestLocale(); }

    void loads_data()
    {
        QTest::addColumn<QByteArray>("rows");
        QTest::addColumn<QStringList>("tree");
        QTest::addColumn<QStringList>("catalogueSlots");

        QTest::newRow("one table of two columns")
            << QByteArray(R"([
                ["T", "id", "dbo", "dbo.T", null, null, null, null, "id", "NO", "int", null],
                ["T", "name", "dbo", "dbo.T", null, null, null, null, null, "YES", "varchar", 50]])")
            << QStringList{QStringLiteral("0 fixture"), QStringLiteral("1 dbo.T"), QStringLiteral("2 id"),
                           QStringLiteral("2 name")}
            << QStringList{Empty, Empty, QStringLiteral("dbo.T|id||||id|int|NO||-1"),
                           QStringLiteral("dbo.T|name|||||varchar|YES|50|-1")};

        QTest::newRow("two tables")
            << QByteArray(R"([
                ["A", "a1", "dbo", "dbo.A", null, null, null, null, "a1", "NO", "int", null],
                ["A", "a2", "dbo", "dbo.A", null, null, null, null, null, "YES", "datetime", null],
                ["B", "b1", "sales", "sales.B", null, null, null, null, null, "YES", "float", null]])")
            << QStringList{QStringLiteral("0 fixture"), QStringLiteral("1 dbo.A"), QStringLiteral("2 a1"),
                           QStringLiteral("2 a2"), QStringLiteral("1 sales.B"), QStringLiteral("2 b1")}
            << QStringList{Empty, Empty, QStringLiteral("dbo.A|a1||||a1|int|NO||-1"),
                           QStringLiteral("dbo.A|a2|||||datetime|YES||-1"), Empty,
                           QStringLiteral("sales.B|b1|||||float|YES||-1")};

        QTest::newRow("no tables") << QByteArray("[]") << QStringList{QStringLiteral("0 fixture")}
                                   << QStringList();

        // A foreign key, a primary key, a varchar(max) and non-Latin-1 names.
        QTest::newRow("keys and max length")
            << QByteArray(R"([
                ["Orders", "Id", "dbo", "dbo.Orders", null, null, null, null, "Id", "NO", "int", null],
                ["Orders", "Customer", "dbo", "dbo.Orders", "Customer", "Customers", "Id", "FK_Orders_Customers", null, "NO", "bigint", null],
                ["Orders", "Notiz Ω", "dbo", "dbo.Orders", null, null, null, null, null, "YES", "varchar", -1]])")
            << QStringList{QStringLiteral("0 fixture"), QStringLiteral("1 dbo.Orders"), QStringLiteral("2 Id"),
                           QStringLiteral("2 Customer"), QStringLiteral("2 Notiz Ω")}
            << QStringList{Empty, Empty, QStringLiteral("dbo.Orders|Id||||Id|int|NO||-1"),
                           QStringLiteral("dbo.Orders|Customer|Customers|Id|FK_Orders_Customers||bigint|NO||-1"),
                           QStringLiteral("dbo.Orders|Notiz Ω|||||varchar|YES|-1|-1")};

        const QString table = longName(QStringLiteral("Customer_Addresses_"), 60);
        const QString column = longName(QStringLiteral("Delivery_Address_Line_"), 128);
        const QString referenced = longName(QStringLiteral("Address_Catalogue_"), 40);
        const QString key = longName(QStringLiteral("Address_Key_"), 30);
        const QString constraint = longName(QStringLiteral("FK_Customer_Addresses_"), 90);
        const QJsonArray longRow{table, column, QStringLiteral("dbo"), QString(QStringLiteral("dbo.") + table), column,
                                 referenced, key, constraint, column, QStringLiteral("NO"),
                                 QStringLiteral("nvarchar"), QJsonValue(400)};
        QTest::newRow("long names kept whole")
            << QJsonDocument(QJsonArray{longRow}).toJson()
            << QStringList{QStringLiteral("0 fixture"), QStringLiteral("1 dbo.") + table, QStringLiteral("2 ") + column}
            << QStringList{Empty, Empty,
                           QStringList{QStringLiteral("dbo.") + table, column, referenced, key, constraint, column,
                                       QStringLiteral("nvarchar"), QStringLiteral("NO"), QStringLiteral("400"),
                                       QStringLiteral("-1")}
                               .join(u'|')};

        // The same table name in two schemas: rows come grouped by schema.
        QTest::newRow("same table name in two schemas")
            << QByteArray(R"([
                ["T", "x", "dbo", "dbo.T", null, null, null, null, null, "YES", "int", null],
                ["T", "y", "hr", "hr.T", null, null, null, null, null, "YES", "int", null]])")
            << QStringList{QStringLiteral("0 fixture"), QStringLiteral("1 dbo.T"), QStringLiteral("2 x"),
                           QStringLiteral("1 hr.T"), QStringLiteral("2 y")}
            << QStringList{Empty, Empty, QStringLiteral("dbo.T|x|||||int|YES||-1"), Empty,
                           QStringLiteral("hr.T|y|||||int|YES||-1")};
    }
    void loads()
    {
        QFETCH(QByteArray, rows);
        QFETCH(QStringList, tree);
        QFETCH(QStringList, catalogueSlots);
        TdsServer server(schemaFixture(rows));
        QVERIFY(server.started());
        auto connection = db::MakeOdbcConnection();
        TData catalogue(3); // a catalogue of an earlier login
        catalogue[2].method = 102;
        SchemaTree schema;
        const Status loaded = LoadCatalogue(*connection, server.connectionString(), catalogue, schema);
        QVERIFY2(loaded.ok(), loaded.ok() ? "" : qPrintable(loaded.error().message));
        QCOMPARE(describe(schema), tree);
        QCOMPARE(describe(catalogue), catalogueSlots);
        // The query went out exactly as written, and the connection stays open.
        QCOMPARE(server.batches(), QStringList{GetMetadataQuery()});
        QVERIFY(connection->isOpen());
    }

    // The query as the server must receive it, letter for letter: a rule that
    // matches only this text answers it, with the referenced table's schema
    // in a column after the others.
    void exactQuery()
    {
        const QString query = QStringLiteral(
            "select \r\n"
            "\ttab= ta.TABLE_NAME, \r\n"
            "\tcol=co.COLUMN_NAME, \r\n"
            "\t[schema]=co.TABLE_SCHEMA, \r\n"
            "\tstab=co.TABLE_SCHEMA+'.'+ta.TABLE_NAME, \r\n"
            " Fkeys.FK_Column , \r\n"
            "\tFkeys.PK_Table , \r\n"
            "\tFkeys.PK_Column, \r\n"
            "\tFkeys.Constraint_Name, \r\n"
            "\tPK=Pkeys.COLUMN_NAME, \r\n"
            "\t[isnull]=co.IS_NULLABLE, \r\n"
            "\ttyp=co.DATA_TYPE, \r\n"
            "\tchar_max=co.CHARACTER_MAXIMUM_LENGTH, \r\n"
            "\tPK_schema=Fkeys.PK_Schema \r\n"
            "from \r\n"
            "INFORMATION_SCHEMA.TABLES ta \r\n"
            "inner join INFORMATION_SCHEMA.COLUMNS co on ta.TABLE_SCHEMA=co.TABLE_SCHEMA and ta.TABLE_NAME=co.TABLE_NAME and ta.TABLE_TYPE='BASE TABLE' \r\n"
            "left join \r\n"
            "( \r\n"
            "\tSELECT \r\n"
            "\tK_Schema = OBJECT_SCHEMA_NAME(FKC.parent_object_id), \r\n"
            "\tK_Table = OBJECT_NAME(FKC.parent_object_id), \r\n"
            "\tFK_Column = COL_NAME(FKC.parent_object_id, FKC.parent_column_id), \r\n"
            "\tPK_Schema = OBJECT_SCHEMA_NAME(FKC.referenced_object_id), \r\n"
            "\tPK_Table = OBJECT_NAME(FKC.referenced_object_id), \r\n"
            "\tPK_Column = COL_NAME(FKC.referenced_object_id, FKC.referenced_column_id), \r\n"
            "\tConstraint_Name = OBJECT_NAME(FKC.constraint_object_id), \r\n"
            "\trn = ROW_NUMBER() OVER (PARTITION BY FKC.parent_object_id, FKC.parent_column_id ORDER BY OBJECT_NAME(FKC.constraint_object_id)) \r\n"
            "\tFROM \r\n"
            "\tsys.foreign_key_columns FKC \r\n"
            ") Fkeys on Fkeys.FK_Column=co.COLUMN_NAME and Fkeys.K_Table=ta.TABLE_NAME and Fkeys.K_Schema=ta.TABLE_SCHEMA and Fkeys.rn=1 \r\n"
            "left join \r\n"
            "(SELECT i1.TABLE_SCHEMA, i1.TABLE_NAME, i2.COLUMN_NAME \r\n"
            "\tFROM INFORMATION_SCHEMA.TABLE_CONSTRAINTS i1 \r\n"
            "\tINNER JOIN INFORMATION_SCHEMA.KEY_COLUMN_USAGE i2 ON i1.CONSTRAINT_SCHEMA = i2.CONSTRAINT_SCHEMA AND i1.CONSTRAINT_NAME = i2.CONSTRAINT_NAME \r\n"
            "\tWHERE i1.CONSTRAINT_TYPE = 'PRIMARY KEY'  \r\n"
            ") Pkeys on Pkeys.COLUMN_NAME=co.COLUMN_NAME and Pkeys.TABLE_NAME=ta.TABLE_NAME and Pkeys.TABLE_SCHEMA=ta.TABLE_SCHEMA \r\n"
            "order by 1,3,co.ORDINAL_POSITION ");
        QJsonArray columns = schemaColumns();
        columns.append(QJsonObject{{QStringLiteral("name"), QStringLiteral("PK_schema")},
                                   {QStringLiteral("type"), QStringLiteral("nvarchar")}});
        const QByteArray rows =
            "[[\"Order Line]Items\", \"Order\", \"dbo\", \"dbo.Order Line]Items\", \"Order\", \"Orders\", "
            "\"OrderId\", \"FK_Lines\", null, \"NO\", \"int\", null, \"sales\"], "
            "[\"Order Line]Items\", \"Note\", \"dbo\", \"dbo.Order Line]Items\", null, null, null, null, null, "
            "\"YES\", \"nvarchar\", -1, null]]";
        const QJsonObject rule{{QStringLiteral("match"), query},
                               {QStringLiteral("exact"), true},
                               {QStringLiteral("columns"), columns},
                               {QStringLiteral("rows"), QJsonDocument::fromJson(rows).array()}};
        TdsServer server(TdsServer::defaultFixture(QJsonDocument(QJsonArray{rule}).toJson()));
        QVERIFY(server.started());
        auto connection = db::MakeOdbcConnection();
        TData catalogue;
        SchemaTree schema;
        const Status loaded = LoadCatalogue(*connection, server.connectionString(), catalogue, schema);
        QVERIFY2(loaded.ok(), loaded.ok() ? "" : qPrintable(loaded.error().message));
        QCOMPARE(catalogue.size(), 4);
        const TColumnRec& key = catalogue.at(2);
        QCOMPARE(QStringList({key.schema, key.tab, key.stab, key.PK_schema, key.PK_table, key.PK_column}),
                 QStringList({QStringLiteral("dbo"), QStringLiteral("Order Line]Items"),
                              QStringLiteral("dbo.Order Line]Items"), QStringLiteral("sales"),
                              QStringLiteral("Orders"), QStringLiteral("OrderId")}));
        QCOMPARE(catalogue.at(3).PK_schema, QString());
        QCOMPARE(server.batches(), QStringList{query});
    }

    void failures_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<QByteArray>("rule");
        QTest::addColumn<QString>("message");
        QTest::newRow("query fails")
            << QString::fromUtf16(TdsServer::DefaultPassword)
            << QByteArray(R"({"match": "INFORMATION_SCHEMA", "error": {"number": 229, "message": "The SELECT permission was denied on the object 'TABLES', database 'mssqlsystemresource', schema 'INFORMATION_SCHEMA'."}})")
            << QStringLiteral("The SELECT permission was denied on the object 'TABLES', database "
                              "'mssqlsystemresource', schema 'INFORMATION_SCHEMA'.");
        QTest::newRow("login refused") << QStringLiteral("wrong") << QByteArray(R"({"match": "nothing"})")
                                       << QStringLiteral("Login failed for user 'corvane'.\nUnable to connect to data source");
        QTest::newRow("connection lost during the query")
            << QString::fromUtf16(TdsServer::DefaultPassword)
            << QByteArray(R"({"match": "INFORMATION_SCHEMA", "drop": true})") << QString();
    }
    void failures()
    {
        QFETCH(QString, password);
        QFETCH(QByteArray, rule);
        QFETCH(QString, message);
        TdsServer server(TdsServer::defaultFixture('[' + rule + ']'));
        QVERIFY(server.started());
        auto connection = db::MakeOdbcConnection();
        TData catalogue(3);
        catalogue[2].col = QStringLiteral("kept");
        catalogue[2].method = 102;
        SchemaTree schema;
        schema.addDatabase(QStringLiteral("earlier"));
        const Status loaded = LoadCatalogue(
            *connection,
            server.connectionString(QString::fromUtf16(TdsServer::DefaultDatabase),
                                    QString::fromUtf16(TdsServer::DefaultLogin), password),
            catalogue, schema);
        QVERIFY(!loaded.ok());
        if (!message.isEmpty())
            QCOMPARE(loaded.error().message, message);
        QVERIFY(!loaded.error().message.isEmpty());
        QVERIFY(schema.isEmpty());
        QCOMPARE(catalogue.size(), 3);
        QCOMPARE(catalogue[2].col, QStringLiteral("kept"));
        QCOMPARE(catalogue[2].method, 102);
    }
};

QTEST_GUILESS_MAIN(TestLoaderTds)
#include "test_loader_tds.moc"

#include "tests/support/schemarows.h"
#include "catalogue/loader.h"
#include "tests/support/fakeconnection.h"
#include "tests/support/testlocale.h"

#include <QTest>

using namespace corvane;
using test::row;
using test::schemaFields;

namespace {

db::Rows rows(const QList<QStringList>& lines)
{
    return test::makeRows(schemaFields, lines);
}

QStringList texts(const SchemaTree& tree)
{
    QStringList out;
    for (const SchemaTree::Node& node : tree.nodes)
        out << QString(node.level * 2, u' ') + node.text;
    return out;
}

} // namespace

class TestLoader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { test::useTestLocale(); }

    void oneTableOfTwoColumns()
    {
        TData catalogue;
        SchemaTree tree;
        BuildCatalogue(QStringLiteral("Shop"),
                       rows({row("T|id|dbo|dbo.T|\\N|\\N|\\N|\\N|id|NO|int|\\N"),
                             row("T|name|dbo|dbo.T|\\N|\\N|\\N|\\N|\\N|YES|varchar|-1")}),
                       catalogue, tree);
        QCOMPARE(texts(tree), (QStringList{QStringLiteral("Shop"), QStringLiteral("  dbo.T"),
                                           QStringLiteral("    id"), QStringLiteral("    name")}));
        QCOMPARE(catalogue.size(), 4);
        QVERIFY(catalogue[0].stab.isEmpty() && catalogue[1].stab.isEmpty());
        QCOMPARE(catalogue[0].method, 0);
        QCOMPARE(catalogue[1].method, 0);
        const TColumnRec& id = catalogue[2];
        QCOMPARE(id.col, QStringLiteral("id"));
        QCOMPARE(id.stab, QStringLiteral("dbo.T"));
        QCOMPARE(id.PK, QStringLiteral("id"));
        QCOMPARE(id.isnull, QStringLiteral("NO"));
        QCOMPARE(id.typ, QStringLiteral("int"));
        QVERIFY(id.char_max.isEmpty());
        QCOMPARE(id.method, NoMethodYet);
        const TColumnRec& name = catalogue[3];
        QVERIFY(name.PK.isEmpty());
        QCOMPARE(name.char_max, QStringLiteral("-1"));
        QCOMPARE(name.method, NoMethodYet);
        QVERIFY(name.param1.isEmpty() && name.param2.isEmpty());
    }

    void tablesGetEmptySlots()
    {
        TData catalogue;
        SchemaTree tree;
        BuildCatalogue(QStringLiteral("Shop"),
                       rows({row("A|a1|dbo|dbo.A|\\N|\\N|\\N|\\N|\\N|YES|int|\\N"),
                             row("A|a2|dbo|dbo.A|\\N|\\N|\\N|\\N|\\N|YES|int|\\N"),
                             row("A|a3|dbo|dbo.A|\\N|\\N|\\N|\\N|\\N|YES|int|\\N"),
                             row("B|b1|dbo|dbo.B|\\N|\\N|\\N|\\N|\\N|YES|int|\\N")}),
                       catalogue, tree);
        QCOMPARE(catalogue.size(), 7);
        QCOMPARE(catalogue[4].col, QStringLiteral("a3"));
        QVERIFY(catalogue[5].col.isEmpty());
        QCOMPARE(catalogue[6].col, QStringLiteral("b1"));
        QCOMPARE(tree.nodes[5].text, QStringLiteral("dbo.B"));
        QCOMPARE(tree.nodes[5].level, int(SchemaTree::TableLevel));
        QCOMPARE(tree.tables, (QVector<int>{1, 5}));
        QCOMPARE(tree.child(5, 0), 6);
        QCOMPARE(tree.child(0, 1), 5);
        QCOMPARE(tree.nodes[6].parent, 5);
    }

    void noTables()
    {
        TData catalogue(3);
        SchemaTree tree;
        BuildCatalogue(QStringLiteral("Empty"), rows({}), catalogue, tree);
        QCOMPARE(catalogue.size(), 0);
        QCOMPARE(texts(tree), QStringList{QStringLiteral("Empty")});
    }

    // Names longer than the old 20-character fields stay whole in the tree and the slot.
    void longNamesKeptWhole()
    {
        TData catalogue;
        SchemaTree tree;
        BuildCatalogue(QStringLiteral("Shop"),
                       rows({row("CustomerAddressHistory|PreviousDeliveryPostcode|sales|sales."
                                 "CustomerAddressHistory|PreviousDeliveryPostcode|PostcodeRegister|"
                                 "PostcodeIdentifierLong|FK_CustomerAddressHistory_Postcode|\\N|YES|"
                                 "varchar|12")}),
                       catalogue, tree);
        QCOMPARE(tree.nodes[2].text, QStringLiteral("PreviousDeliveryPostcode"));
        QCOMPARE(catalogue[2].stab, QStringLiteral("sales.CustomerAddressHistory"));
        QCOMPARE(catalogue[2].col, QStringLiteral("PreviousDeliveryPostcode"));
        QCOMPARE(catalogue[2].PK_table, QStringLiteral("PostcodeRegister"));
        QCOMPARE(catalogue[2].PK_column, QStringLiteral("PostcodeIdentifierLong"));
        QCOMPARE(catalogue[2].Constraint_Name, QStringLiteral("FK_CustomerAddressHistory_Postcode"));
    }

    // Same-named tables in two schemas come sorted by name, then schema: each
    // table becomes one node with each of its columns once.
    void sameTableNameInTwoSchemas()
    {
        TData catalogue;
        SchemaTree tree;
        BuildCatalogue(QStringLiteral("Shop"),
                       rows({row("Orders|id|archive|archive.Orders|\\N|\\N|\\N|\\N|id|NO|int|\\N"),
                             row("Orders|placed|archive|archive.Orders|\\N|\\N|\\N|\\N|\\N|YES|datetime|\\N"),
                             row("Orders|id|dbo|dbo.Orders|\\N|\\N|\\N|\\N|id|NO|int|\\N"),
                             row("Orders|total|dbo|dbo.Orders|\\N|\\N|\\N|\\N|\\N|YES|float|\\N")}),
                       catalogue, tree);
        QCOMPARE(texts(tree),
                 (QStringList{QStringLiteral("Shop"), QStringLiteral("  archive.Orders"),
                              QStringLiteral("    id"), QStringLiteral("    placed"),
                              QStringLiteral("  dbo.Orders"), QStringLiteral("    id"),
                              QStringLiteral("    total")}));
        QCOMPARE(catalogue.size(), 7);
        QCOMPARE(catalogue[6].stab, QStringLiteral("dbo.Orders"));
        QCOMPARE(catalogue[6].typ, QStringLiteral("float"));
    }

    // A key to a two-column primary key: each referencing column once, with the
    // column it references.
    void keyToTwoColumnPrimaryKey()
    {
        TData catalogue;
        SchemaTree tree;
        BuildCatalogue(
            QStringLiteral("Shop"),
            rows({row("Lines|order_id|dbo|dbo.Lines|order_id|Orders|id|FK_Lines_Orders|order_id|NO|int|\\N"),
                  row("Lines|order_year|dbo|dbo.Lines|order_year|Orders|year|FK_Lines_Orders|order_year|NO|int|\\N"),
                  row("Lines|qty|dbo|dbo.Lines|\\N|\\N|\\N|\\N|\\N|YES|int|\\N")}),
            catalogue, tree);
        QCOMPARE(catalogue.size(), 5);
        QCOMPARE(catalogue[2].PK_column, QStringLiteral("id"));
        QCOMPARE(catalogue[3].PK_column, QStringLiteral("year"));
        QCOMPARE(catalogue[3].PK_table, QStringLiteral("Orders"));
        QVERIFY(!catalogue[3].PK.isEmpty());
        QVERIFY(catalogue[4].PK_table.isEmpty());
    }

    void loadThroughConnection()
    {
        test::FakeServer server;
        server.databaseName = QStringLiteral("Shop");
        server.answer(QStringLiteral("INFORMATION_SCHEMA.TABLES"),
                      rows({row("T|id|dbo|dbo.T|\\N|\\N|\\N|\\N|id|NO|int|\\N")}));
        auto connection = server.connect();
        TData catalogue;
        SchemaTree tree;
        QVERIFY(LoadCatalogue(*connection, QStringLiteral("cs"), catalogue, tree).ok());
        QCOMPARE(server.opened, QStringList{QStringLiteral("cs")});
        QCOMPARE(server.sent, QStringList{GetMetadataQuery()});
        QVERIFY(connection->isOpen()); // the main window keeps its connection
        QCOMPARE(tree.nodes[0].text, QStringLiteral("Shop"));
        QCOMPARE(catalogue.size(), 3);
    }

    void failureLeavesCatalogueAndEmptiesTree_data()
    {
        QTest::addColumn<bool>("refuseOpen");
        QTest::newRow("open refused") << true;
        QTest::newRow("query fails") << false;
    }
    void failureLeavesCatalogueAndEmptiesTree()
    {
        QFETCH(bool, refuseOpen);
        test::FakeServer server;
        if (refuseOpen)
            server.refuseOpen = QStringLiteral("Login failed for user 'x'.");
        else
            server.fail(QStringLiteral("INFORMATION_SCHEMA"), QStringLiteral("Permission denied."));
        auto connection = server.connect();
        TData catalogue(4);
        catalogue[2].col = QStringLiteral("kept");
        catalogue[2].method = 102;
        SchemaTree tree;
        tree.addDatabase(QStringLiteral("old"));
        const Status status = LoadCatalogue(*connection, QStringLiteral("cs"), catalogue, tree);
        QVERIFY(!status.ok());
        QCOMPARE(status.error().message, refuseOpen ? server.refuseOpen : QStringLiteral("Permission denied."));
        QVERIFY(tree.isEmpty());
        QCOMPARE(catalogue.size(), 4);
        QCOMPARE(catalogue[2].method, 102);
    }

    // A reload starts from scratch: no method survives it.
    void reloadReplacesCatalogue()
    {
        TData catalogue;
        SchemaTree tree;
        const db::Rows input = rows({row("T|id|dbo|dbo.T|\\N|\\N|\\N|\\N|id|NO|int|\\N")});
        BuildCatalogue(QStringLiteral("Shop"), input, catalogue, tree);
        catalogue[2].method = 101;
        catalogue[2].setParam1(QStringLiteral("5"));
        BuildCatalogue(QStringLiteral("Shop"), input, catalogue, tree);
        QCOMPARE(catalogue[2].method, NoMethodYet);
        QVERIFY(catalogue[2].param1.isEmpty());
        QCOMPARE(tree.nodes.size(), 3);
    }
};

QTEST_GUILESS_MAIN(TestLoader)
#include "test_loader.moc"

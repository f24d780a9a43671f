#include "catalogue/loader.h"
#include "tests/support/fakeconnection.h"
#include "tests/support/testlocale.h"
#include "ui/main/schematreemodel.h"

#include <QAbstractItemModelTester>
#include <QIcon>
#include <QSignalSpy>
#include <QTest>

using namespace corvane;
using namespace Qt::StringLiterals;

namespace {

// Two tables, the second one with a single column, then a third of two.
SchemaTree sampleTree(TData* slotsOut = nullptr)
{
    const db::Rows rows = test::makeRows({QStringLiteral("stab"), QStringLiteral("col")},
                                         {{QStringLiteral("dbo.A"), QStringLiteral("a1")},
                                          {QStringLiteral("dbo.A"), QStringLiteral("a2")},
                                          {QStringLiteral("dbo.A"), QStringLiteral("a3")},
                                          {QStringLiteral("dbo.B"), QStringLiteral("b1")},
                                          {QStringLiteral("sales.C"), QStringLiteral("c1")},
                                          {QStringLiteral("sales.C"), QStringLiteral("c2")}});
    TData catalogue;
    SchemaTree tree;
    BuildCatalogue(QStringLiteral("shop"), rows, catalogue, tree);
    if (slotsOut)
        *slotsOut = catalogue;
    return tree;
}

// The texts of the shown nodes, depth first, children in brackets.
QString shown(const QAbstractItemModel& model, const QModelIndex& parent = {})
{
    QStringList parts;
    for (int r = 0; r < model.rowCount(parent); ++r) {
        const QModelIndex index = model.index(r, 0, parent);
        QString part = index.data().toString();
        if (model.rowCount(index) > 0)
            part += u'[' + shown(model, index) + u']';
        parts << part;
    }
    return parts.join(u' ');
}

} // namespace

class TestSchemaTreeModel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { test::useTestLocale(); }

    // The tester checks the parent/child/row consistency of every index it
    // visits, through resets too.
    void consistentThroughResets()
    {
        SchemaTreeModel model;
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.setTree(sampleTree());
        model.clear();
        model.setTree(sampleTree());
        QCOMPARE(model.rowCount(), 1);
    }

    // Walking the model from the root must meet every node at its own
    // absolute index, in display order: that index is the catalogue slot.
    void displayOrderIsAbsoluteIndex()
    {
        SchemaTreeModel model;
        model.setTree(sampleTree());
        QStringList seen;
        int expected = 0;
        const std::function<void(const QModelIndex&)> walk = [&](const QModelIndex& parent) {
            for (int r = 0; r < model.rowCount(parent); ++r) {
                const QModelIndex index = model.index(r, 0, parent);
                QCOMPARE(SchemaTreeModel::absoluteIndex(index), expected++);
                QCOMPARE(model.indexOf(SchemaTreeModel::absoluteIndex(index)), index);
                seen << index.data().toString();
                walk(index);
            }
        };
        walk({});
        QCOMPARE(seen,
                 QStringList({QStringLiteral("shop"), QStringLiteral("dbo.A"), QStringLiteral("a1"),
                              QStringLiteral("a2"), QStringLiteral("a3"), QStringLiteral("dbo.B"),
                              QStringLiteral("b1"), QStringLiteral("sales.C"), QStringLiteral("c1"),
                              QStringLiteral("c2")}));
    }

    // Names that hold the text in any case stay with their table; a matching
    // table keeps every column. Every shown node keeps its absolute index.
    void filter_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("none") << QString()
                              << u"shop[dbo.A[a1 a2 a3] dbo.B[b1] sales.C[c1 c2]]"_s;
        QTest::newRow("columns") << u"2"_s << u"shop[dbo.A[a2] sales.C[c2]]"_s;
        QTest::newRow("table keeps columns") << u"SALES"_s << u"shop[sales.C[c1 c2]]"_s;
        QTest::newRow("table and column") << u"b"_s << u"shop[dbo.A[a1 a2 a3] dbo.B[b1]]"_s;
        QTest::newRow("nothing") << u"zz"_s << u"shop"_s;
        QTest::newRow("dot of the table text") << u"o.b"_s << u"shop[dbo.B[b1]]"_s;
    }
    void filter()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        SchemaTreeModel model;
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.setTree(sampleTree());
        model.setFilterText(text);
        QCOMPARE(shown(model), expected);
        const std::function<void(const QModelIndex&)> walk = [&](const QModelIndex& parent) {
            for (int r = 0; r < model.rowCount(parent); ++r) {
                const QModelIndex index = model.index(r, 0, parent);
                const int node = SchemaTreeModel::absoluteIndex(index);
                QCOMPARE(index.data().toString(), model.tree().nodes.at(node).text);
                QCOMPARE(model.indexOf(node), index);
                QCOMPARE(model.parent(index), parent);
                walk(index);
            }
        };
        walk({});
        // Hidden nodes have no index; a new tree keeps the filter.
        QCOMPARE(model.indexOf(6).isValid(), expected.contains(u"b1"));
        model.setTree(sampleTree());
        QCOMPARE(shown(model), expected);
        model.setFilterText({});
        QCOMPARE(shown(model), u"shop[dbo.A[a1 a2 a3] dbo.B[b1] sales.C[c1 c2]]"_s);
    }

    // Masked columns carry a mark and the method's name; every column its type.
    void marksAndTypes()
    {
        TData catalogue;
        SchemaTreeModel model;
        model.setTree(sampleTree(&catalogue));
        catalogue[2].typ = QStringLiteral("int");
        catalogue[2].method = 102;
        catalogue[3].method = 100; // "No mask" is no mask
        catalogue[4].method = NoMethodYet;
        model.setCatalogue(&catalogue);
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);

        const QModelIndex a1 = model.indexOf(2);
        const QIcon mark = a1.data(Qt::DecorationRole).value<QIcon>();
        QVERIFY(!mark.isNull());
        QCOMPARE(a1.data(Qt::ToolTipRole).toString(), GetMethodName(102));
        QCOMPARE(a1.data(SchemaTreeModel::TypeRole).toString(), QStringLiteral("int"));
        QCOMPARE(a1.data().toString(), QStringLiteral("a1"));
        for (const int unmasked : {3, 4}) {
            const QModelIndex index = model.indexOf(unmasked);
            QVERIFY(index.data(Qt::DecorationRole).value<QIcon>().cacheKey() != mark.cacheKey());
            QCOMPARE(index.data(Qt::ToolTipRole).toString(), index.data().toString());
        }
        // Tables and the database have neither.
        QVERIFY(!model.indexOf(1).data(SchemaTreeModel::TypeRole).toString().size());
        QVERIFY(!model.indexOf(0).data(Qt::DecorationRole).isValid());

        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        model.setFilterText(QStringLiteral("c"));
        model.choicesChanged();
        QCOMPARE(changed.size(), 1); // the one shown table, sales.C
    }

    void outOfRangeGivesInvalidIndexes()
    {
        SchemaTreeModel model;
        QVERIFY(!model.indexOf(0).isValid());
        QCOMPARE(model.rowCount(), 0);
        model.setTree(sampleTree());
        QVERIFY(!model.indexOf(10).isValid());
        QVERIFY(!model.indexOf(-1).isValid());
        QVERIFY(!model.index(1, 0).isValid());
        QVERIFY(!model.index(0, 1).isValid());
        QVERIFY(!model.index(3, 0, model.indexOf(7)).isValid());
        QCOMPARE(model.level(QModelIndex()), -1);
    }
};

QTEST_MAIN(TestSchemaTreeModel)
#include "test_schematreemodel.moc"

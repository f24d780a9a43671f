#include "catalogue/loader.h"
#include "tests/support/fakeconnection.h"
#include "tests/support/testlocale.h"
#include "ui/main/schematreemodel.h"

#include <QAbstractItemModelTester>
#include <QTest>

using namespace corvane;

namespace {

// Two tables, the second one with a single column, then a third of two.
SchemaTree sampleTree()
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
    return tree;
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

QTEST_GUILESS_MAIN(TestSchemaTreeModel)
#include "test_schematreemodel.moc"

#include "check/checkstate.h"
#include "tests/support/slots.h"
#include "tests/support/testlocale.h"
#include "tests/support/workspace.h"
#include "ui/views/listf.h"
#include "ui/views/listmodel.h"

#include <QAbstractItemModelTester>
#include <QTableView>

#include <QHeaderView>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>

using namespace corvane;
using corvane::test::column;

namespace {

QStringList headings(const QAbstractItemModel* model)
{
    QStringList out;
    for (int c = 0; c < model->columnCount(); ++c)
        out << model->headerData(c, Qt::Horizontal).toString();
    return out;
}

// Every data row as its cells joined by '|', up to the check's column.
QStringList rows(const QAbstractItemModel* model)
{
    QStringList out;
    for (int r = 0; r < model->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < MaskedColumnsModel::CheckColumn; ++c)
            cells << model->index(r, c).data().toString();
        out << cells.join(u'|');
    }
    return out;
}

const QStringList Headings = {
    QStringLiteral("Column ID"),   QStringLiteral("Column name"), QStringLiteral("Table name"),
    QStringLiteral("Anonymization type"), QStringLiteral("Parameter 1"), QStringLiteral("Parameter 2"),
    QStringLiteral("Check"),
};
const QString EmptyRow = QStringLiteral("|||||");

} // namespace

class TestListF : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { test::useTestLocale(); }

    void gridLayout()
    {
        Workspace workspace;
        TListF page;
        page.SetCatalogue(workspace);
        QTableView* grid = page.findChild<QTableView*>(QStringLiteral("StringGrid1"));
        QVERIFY(grid);
        QCOMPARE(grid->model()->columnCount(), 7);
        QList<int> widths;
        for (int c = 0; c < 7; ++c)
            widths << grid->columnWidth(c);
        QCOMPARE(widths, (QList<int>{57, 124, 138, 160, 142, 127, 130}));
        QCOMPARE(grid->rowHeight(0), 16);
        QVERIFY(!grid->verticalHeader()->isVisible());
    }

    void refresh_data()
    {
        QTest::addColumn<TData>("catalogue");
        QTest::addColumn<QStringList>("headings");
        QTest::addColumn<QStringList>("rows");

        const QStringList blank(7, QString());
        QTest::newRow("no catalogue yet") << TData{} << blank << QStringList{EmptyRow};
        QTest::newRow("database node alone") << TData{TColumnRec{}} << blank << QStringList{EmptyRow};

        const QString person = QStringLiteral("dbo.Person");
        TData none;
        none << TColumnRec{} << TColumnRec{} << column(person, QStringLiteral("Id"), NoMethodYet)
             << column(person, QStringLiteral("Name"), 1000);
        QTest::newRow("no column with a method") << none << Headings << QStringList{EmptyRow};

        // The database node is never listed, whatever it holds.
        TData three;
        three << column(QString(), QString(), 101) << TColumnRec{}
              << column(person, QStringLiteral("Id"), 102, QStringLiteral("5"))
              << column(person, QStringLiteral("Name"), 1006, QStringLiteral("gone"))
              << column(person, QStringLiteral("Birthdate"), 4, QStringLiteral("1/1/1950"),
                        QStringLiteral("12/31/2000"))
              << column(person, QStringLiteral("Note"), 0) << column(person, QStringLiteral("Code"), 100)
              << column(person, QStringLiteral("Price"), 2000) << TColumnRec{}
              << column(QStringLiteral("sales.O'Brien Orders"), QStringLiteral("Total"), 2003,
                        QStringLiteral("0.5"), QStringLiteral("10"))
              << column(person, QStringLiteral("Unknown"), 3000);
        QTest::newRow("three methods in slot order")
            << three << Headings
            << QStringList{
                   QStringLiteral("2|Id|dbo.Person|Noise interval integer|5|"),
                   QStringLiteral("4|Birthdate|dbo.Person|Random  interval datetime|1/1/1950|12/31/2000"),
                   QStringLiteral("9|Total|sales.O'Brien Orders|Random interval float|0.5|10"),
               };
    }
    void refresh()
    {
        QFETCH(TData, catalogue);
        QFETCH(QStringList, headings);
        QFETCH(QStringList, rows);

        Workspace workspace;
        MaskedColumnsModel model(workspace);
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        test::load(workspace, catalogue, QString());
        QCOMPARE(::headings(&model), headings);
        QCOMPARE(::rows(&model), rows);
    }

    // The list follows every change the workspace announces, row by row:
    // a newly masked column appears in slot order, an unmasked one goes, the
    // last one leaves the blank row, and a new catalogue starts afresh.
    void followsTheWorkspace()
    {
        const QString person = QStringLiteral("dbo.Person");
        Workspace workspace;
        test::load(workspace,
                   {TColumnRec{}, TColumnRec{}, column(person, QStringLiteral("Id"), 101, QStringLiteral("7")),
                    column(person, QStringLiteral("Name"), 1005), column(person, QStringLiteral("Born"), 9)},
                   QString());
        MaskedColumnsModel model(workspace);
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(model.rowCount(), 3);

        workspace.editSlot(2, [](TColumnRec& s) { s.method = 100; });
        workspace.editSlot(4, [](TColumnRec& s) { s.method = 3; });
        QCOMPARE(rows(&model), (QStringList{QStringLiteral("3|Name|dbo.Person|Constant value varchar Foreign Key||"),
                                            QStringLiteral("4|Born|dbo.Person|Shuffle datetime||")}));
        workspace.editSlot(2, [](TColumnRec& s) { s.method = 102; s.param1 = QStringLiteral("5"); });
        QCOMPARE(model.slotAt(0), 2);
        QCOMPARE(rows(&model).first(), QStringLiteral("2|Id|dbo.Person|Noise interval integer|5|"));
        for (int slot : {2, 3, 4})
            workspace.editSlot(slot, [](TColumnRec& s) { s.method = 0; });
        QCOMPARE(rows(&model), QStringList{EmptyRow});
        workspace.editSlot(3, [](TColumnRec& s) { s.method = 1009; });
        QCOMPARE(rows(&model), QStringList{QStringLiteral("3|Name|dbo.Person|NULL varchar||")});

        // A new Login replaces the catalogue whole.
        test::load(workspace, {TColumnRec{}, TColumnRec{}, column(person, QStringLiteral("Id"), 100)}, QString());
        QCOMPARE(rows(&model), QStringList{EmptyRow});
        QCOMPARE(headings(&model), Headings);
    }
    // Enter (or a double-click) opens a row's column; Delete sets the
    // selected columns to their type's "No mask" and they leave the list.
    void rowKeys()
    {
        const QString person = QStringLiteral("dbo.Person");
        TColumnRec id = column(person, QStringLiteral("Id"), 101, QStringLiteral("7"));
        id.typ = QStringLiteral("int");
        TColumnRec name = column(person, QStringLiteral("Name"), 1009);
        name.typ = QStringLiteral("nvarchar");
        TColumnRec born = column(person, QStringLiteral("Born"), 9);
        born.typ = QStringLiteral("date");
        Workspace workspace;
        test::load(workspace, {TColumnRec{}, TColumnRec{}, id, name, born}, QString());
        TListF page;
        page.SetCatalogue(workspace);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        auto* grid = page.findChild<QTableView*>(QStringLiteral("StringGrid1"));
        grid->setFocus();

        QSignalSpy opened(&page, &TListF::columnActivated);
        grid->setCurrentIndex(grid->model()->index(1, 1));
        QTest::keyClick(grid, Qt::Key_Return);
        QCOMPARE(opened.size(), 1);
        QCOMPARE(opened.first().first().toInt(), 3);
        // Sorted, a row still opens its own column: the last slot comes first.
        grid->sortByColumn(MaskedColumnsModel::SlotColumn, Qt::DescendingOrder);
        grid->setCurrentIndex(grid->model()->index(0, 1));
        QTest::keyClick(grid, Qt::Key_Return);
        QCOMPARE(opened.last().first().toInt(), 4);
        grid->sortByColumn(-1, Qt::AscendingOrder);
        grid->clearSelection();

        grid->selectionModel()->select(grid->model()->index(0, 0),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
        grid->selectionModel()->select(grid->model()->index(1, 0),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
        QTest::keyClick(grid, Qt::Key_Delete);
        QCOMPARE(workspace.catalogue().at(2).method, 100);
        QCOMPARE(workspace.catalogue().at(3).method, 1000);
        QCOMPARE(workspace.catalogue().at(4).method, 9);
        QCOMPARE(rows(page.model()), QStringList{QStringLiteral("4|Born|dbo.Person|NULL datetime||")});
    }

    // The Check column says what the check found for each row, sorts errors
    // first, and follows an edit; the summary above counts every finding.
    void checkColumnAndSummary()
    {
        check::Facts facts;
        check::TableFacts& table = facts.table(QStringLiteral("dbo"), QStringLiteral("Person"));
        table.rows = 10;
        table.columns[QStringLiteral("Id")].type = QStringLiteral("int");
        table.columns[QStringLiteral("Name")].type = QStringLiteral("nvarchar");
        table.columns[QStringLiteral("Name")].maxLength = 80;
        table.columns[QStringLiteral("Name")].nullable = false;
        TData catalogue{TColumnRec{}, TColumnRec{}};
        for (const char* name : {"Id", "Name"}) {
            TColumnRec rec = column(QStringLiteral("dbo.Person"), QString::fromLatin1(name), 102,
                                    QStringLiteral("5"));
            rec.schema = QStringLiteral("dbo");
            rec.tab = QStringLiteral("Person");
            catalogue << rec;
        }
        catalogue[3].method = 1009; // NULL into a NOT NULL column

        Workspace workspace;
        check::CheckState state(workspace);
        state.setNextFacts(facts);
        test::load(workspace, catalogue, QString());
        TListF page;
        page.SetCatalogue(workspace);
        page.SetCheck(state);
        auto* grid = page.findChild<QTableView*>(QStringLiteral("StringGrid1"));
        QAbstractItemModelTester tester(grid->model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        const auto cell = [grid](int row, int role = Qt::DisplayRole) {
            return grid->model()->index(row, MaskedColumnsModel::CheckColumn).data(role);
        };
        QCOMPARE(page.checkSummary()->text(), QStringLiteral("1 error, 0 warnings"));
        QCOMPARE(cell(0).toString(), QString());
        QVERIFY(cell(0, Qt::DecorationRole).isNull());
        QCOMPARE(cell(1).toString(), QStringLiteral("1 error"));
        QVERIFY(!cell(1, Qt::DecorationRole).value<QIcon>().isNull());

        grid->sortByColumn(MaskedColumnsModel::CheckColumn, Qt::AscendingOrder);
        QCOMPARE(grid->model()->index(0, MaskedColumnsModel::NameColumn).data().toString(),
                 QStringLiteral("Name"));

        workspace.editSlot(3, [](TColumnRec& s) { s.method = 1000; });
        QCOMPARE(page.checkSummary()->text(), QStringLiteral("No findings"));
        QCOMPARE(cell(0).toString(), QString());
        QCOMPARE(cell(1).toString(), QString());
    }
};

QTEST_MAIN(TestListF)
#include "test_listf.moc"

#include "tests/support/slots.h"
#include "tests/support/testlocale.h"
#include "ui/views/listf.h"

#include <QHeaderView>
#include <QTableWidget>
#include <QTest>

using namespace corvane;
using corvane::test::column;

namespace {

QStringList headings(QTableWidget* grid)
{
    QStringList out;
    for (int c = 0; c < grid->columnCount(); ++c) {
        const QTableWidgetItem* item = grid->horizontalHeaderItem(c);
        out << (item ? item->text() : QStringLiteral("<none>"));
    }
    return out;
}

// Every data row as its cells joined by '|'.
QStringList rows(QTableWidget* grid)
{
    QStringList out;
    for (int r = 0; r < grid->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < grid->columnCount(); ++c) {
            const QTableWidgetItem* item = grid->item(r, c);
            cells << (item ? item->text() : QString());
        }
        out << cells.join(u'|');
    }
    return out;
}

const QStringList Headings = {
    QStringLiteral("Column ID"),   QStringLiteral("Column name"), QStringLiteral("Table name"),
    QStringLiteral("Anonymization type"), QStringLiteral("Parameter 1"), QStringLiteral("Parameter 2"),
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
        TListF page;
        QTableWidget* grid = page.findChild<QTableWidget*>(QStringLiteral("StringGrid1"));
        QVERIFY(grid);
        QCOMPARE(grid->columnCount(), 6);
        QList<int> widths;
        for (int c = 0; c < 6; ++c)
            widths << grid->columnWidth(c);
        QCOMPARE(widths, (QList<int>{57, 124, 138, 160, 142, 127}));
        QCOMPARE(grid->rowHeight(0), 16);
        QVERIFY(!grid->verticalHeader()->isVisible());
    }

    void refresh_data()
    {
        QTest::addColumn<TData>("catalogue");
        QTest::addColumn<QStringList>("headings");
        QTest::addColumn<QStringList>("rows");

        const QStringList blank(6, QString());
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

        TListF page;
        page.SetCatalogue(catalogue);
        page.RefreshList();
        QTableWidget* grid = page.findChild<QTableWidget*>(QStringLiteral("StringGrid1"));
        QCOMPARE(::headings(grid), headings);
        QCOMPARE(::rows(grid), rows);
        for (int r = 0; r < grid->rowCount(); ++r)
            QCOMPARE(grid->rowHeight(r), 16);
    }

    // The page holds the catalogue by reference and starts every refresh from
    // scratch: no row of an earlier refresh stays behind.
    void refreshFollowsCatalogue()
    {
        const QString person = QStringLiteral("dbo.Person");
        TData catalogue;
        catalogue << TColumnRec{} << TColumnRec{} << column(person, QStringLiteral("Id"), 101, QStringLiteral("7"))
                  << column(person, QStringLiteral("Name"), 1005) << column(person, QStringLiteral("Born"), 9);
        TListF page;
        page.SetCatalogue(catalogue);
        page.RefreshList();
        QTableWidget* grid = page.findChild<QTableWidget*>(QStringLiteral("StringGrid1"));
        QCOMPARE(grid->rowCount(), 3);

        catalogue[2].method = 100;
        catalogue[4].method = 3;
        page.RefreshList();
        QCOMPARE(rows(grid), (QStringList{QStringLiteral("3|Name|dbo.Person|Constant value varchar Foreign Key||"),
                                          QStringLiteral("4|Born|dbo.Person|Shuffle datetime||")}));

        // A new Login replaces the catalogue whole; the reference sees it.
        catalogue = TData{TColumnRec{}, TColumnRec{}, column(person, QStringLiteral("Id"), 100)};
        page.RefreshList();
        QCOMPARE(rows(grid), QStringList{EmptyRow});
        QCOMPARE(headings(grid), Headings);
    }

    void refreshedWhenShown()
    {
        TData catalogue{TColumnRec{}, TColumnRec{},
                        column(QStringLiteral("dbo.T"), QStringLiteral("c"), 101, QStringLiteral("1"))};
        TListF page;
        page.SetCatalogue(catalogue);
        page.show();
        QTableWidget* grid = page.findChild<QTableWidget*>(QStringLiteral("StringGrid1"));
        QTRY_COMPARE(rows(grid), QStringList{QStringLiteral("2|c|dbo.T|Constant value integer|1|")});
        page.hide();
        catalogue[2].method = 103;
        page.show();
        QTRY_COMPARE(rows(grid), QStringList{QStringLiteral("2|c|dbo.T|Random interval integer|1|")});
    }
};

QTEST_MAIN(TestListF)
#include "test_listf.moc"

#include "tests/support/workspace.h"
#include "tests/ui/views/previewprobe.h"
#include "tests/support/fakeconnection.h"
#include "tests/support/fakedialogs.h"
#include "tests/support/testlocale.h"
#include "ui/views/previewmodel.h"
#include "ui/views/previewread.h"
#include "ui/views/previewsql.h"
#include "ui/views/selectf.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

using namespace corvane;
using namespace corvane::test;

namespace {

db::Rows numbered(int count)
{
    QList<QStringList> lines;
    for (int i = 1; i <= count; ++i)
        lines << QStringList{QString::number(i), QStringLiteral("name %1").arg(i)};
    return test::makeRows({QStringLiteral("id"), QStringLiteral("customer_name")}, lines);
}

db::Rows countOf(int rows)
{
    return test::makeRows({QString()}, {{QString::number(rows)}});
}

// A query that fails after handing out `good` rows.
class BrokenQuery final : public db::Query
{
public:
    explicit BrokenQuery(int good) : m_good(good) {}
    int fieldCount() const override { return 1; }
    QString fieldName(int) const override { return QStringLiteral("n"); }
    Result<bool> next() override
    {
        if (m_row >= m_good)
            return Error::failure(QStringLiteral("Communication link failure"));
        ++m_row;
        return true;
    }
    QString value(int) const override { return QString::number(m_row); }

private:
    int m_good;
    int m_row = 0;
};

} // namespace

class TestSelectF : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { test::useTestLocale(); }

    void init()
    {
        m_server = std::make_unique<test::FakeServer>();
        m_state = std::make_unique<Workspace>(m_server->factory());
        test::load(*m_state, {}, QStringLiteral("first"));
        test::useTables(*m_state, {{QStringLiteral("dbo"), QStringLiteral("Big")},
                                   {QStringLiteral("dbo"), QStringLiteral("Busy")},
                                   {QStringLiteral("dbo"), QStringLiteral("A")},
                                   {QStringLiteral("dbo"), QStringLiteral("B")}});
        m_dialogs = std::make_unique<test::FakeDialogs>();
    }
    void cleanup()
    {
        m_dialogs.reset();
    }

    // Schema and table come from the catalogue, so a dot inside either name
    // still names the right object.
    void queriesFromTheCatalogue_data()
    {
        QTest::addColumn<QString>("schema");
        QTest::addColumn<QString>("tab");
        QTest::addColumn<QString>("quoted");
        QTest::newRow("plain") << QStringLiteral("dbo") << QStringLiteral("Person")
                               << QStringLiteral("[dbo].[Person]");
        QTest::newRow("dot in the table") << QStringLiteral("sales") << QStringLiteral("v1.2 Archive")
                                          << QStringLiteral("[sales].[v1.2 Archive]");
        QTest::newRow("dot in the schema") << QStringLiteral("a.b") << QStringLiteral("c")
                                           << QStringLiteral("[a.b].[c]");
        QTest::newRow("closing bracket") << QStringLiteral("d]b") << QStringLiteral("a]]b")
                                         << QStringLiteral("[d]]b].[a]]]]b]");
    }
    void queriesFromTheCatalogue()
    {
        QFETCH(QString, schema);
        QFETCH(QString, tab);
        QFETCH(QString, quoted);
        // A namesake by tree text comes later and is not taken.
        test::useTables(*m_state, {{schema, tab}, {QStringLiteral("x"), QStringLiteral("y")}});
        const TColumnRec* slot = TableSlot(m_state->catalogue(), schema + u'.' + tab);
        QVERIFY(slot);
        QCOMPARE(PreviewQuery(*slot), QStringLiteral("select * from ") + quoted);
        QCOMPARE(RowCountQuery(*slot), QStringLiteral("select count_big(*) from ") + quoted);
        QVERIFY(!TableSlot(m_state->catalogue(), QStringLiteral("dbo.Nothing")));
    }

    void tableNotInCatalogue()
    {
        TSelectF page;
        page.SetTableSource(*m_state);
        m_state->setCurrentTable(QStringLiteral("dbo.Gone"));
        clickSelect(page);
        QCOMPARE(m_dialogs->texts(),
                 QStringList{QStringLiteral("error: Table dbo.Gone is not in the catalogue.")});
        QVERIFY(m_server->sent.isEmpty());
        QCOMPARE(m_server->openConnections, 0);
    }

    void blankBeforeFirstPreview()
    {
        TSelectF page;
        page.SetTableSource(*m_state);
        QCOMPARE(label(page), QStringLiteral("Table name"));
        QCOMPARE(cells(grid(page)), QStringList{QStringLiteral("|")});
        QCOMPARE(headings(grid(page)), QStringList(2, QString()));
        QCOMPARE(page.findChild<QPushButton*>(QStringLiteral("BtSelect"))->text(),
                 QStringLiteral("Select table"));
    }

    void noTableOpensAndClosesOnly()
    {
        TSelectF page;
        page.SetTableSource(*m_state);
        clickSelect(page);
        QCOMPARE(m_server->opened, QStringList{QStringLiteral("first")});
        QVERIFY(m_server->sent.isEmpty());
        QCOMPARE(m_server->openConnections, 0);
        QCOMPARE(label(page), QStringLiteral("Table name"));
        QVERIFY(m_dialogs->shown.isEmpty());
    }

    // Only the first screen is read at once; the rest follows as the view
    // asks for it, on the connection that the page keeps open meanwhile.
    void readsRowsOnDemand()
    {
        m_server->answer(QStringLiteral("count_big"), countOf(1000));
        m_server->answer(QStringLiteral("select *"), numbered(1000));
        m_state->setCurrentTable(QStringLiteral("dbo.Big"));
        TSelectF page;
        page.SetTableSource(*m_state);
        clickSelect(page);
        QAbstractItemModel* model = grid(page)->model();
        QVERIFY(model->rowCount() < 1000);
        QVERIFY(model->rowCount() >= 1);
        QVERIFY(model->canFetchMore({}));
        QCOMPARE(m_server->openConnections, 1);
        QCOMPARE(label(page), QStringLiteral("fixture.dbo.Big (1000 rows)"));

        fetchAll(model);
        QCOMPARE(model->rowCount(), 1000);
        QCOMPARE(model->index(999, 1).data().toString(), QStringLiteral("name 1000"));
        QCOMPARE(m_server->openConnections, 0);

        // A preview with rows left to read is closed by the next one.
        clickSelect(page);
        QCOMPARE(m_server->openConnections, 1);
        m_server->rules.clear();
        m_server->answer(QStringLiteral("count_big"), countOf(1));
        m_server->answer(QStringLiteral("select *"), numbered(1));
        clickSelect(page);
        QTRY_COMPARE(m_server->openConnections, 0);
        QCOMPARE(cells(grid(page)), QStringList{QStringLiteral("1|name 1")});
        QCOMPARE(label(page), QStringLiteral("fixture.dbo.Big (1 row)"));
    }

    // When rows arrive or vanish between the count and the last row, the
    // label ends with the rows that were really read.
    void labelCorrectedAtEnd()
    {
        m_server->answer(QStringLiteral("count_big"), countOf(5));
        m_server->answer(QStringLiteral("select *"), numbered(300));
        m_state->setCurrentTable(QStringLiteral("dbo.Busy"));
        TSelectF page;
        page.SetTableSource(*m_state);
        clickSelect(page);
        QCOMPARE(label(page), QStringLiteral("fixture.dbo.Busy (5 rows)"));
        fetchAll(grid(page)->model());
        QCOMPARE(label(page), QStringLiteral("fixture.dbo.Busy (300 rows)"));
    }

    // A failure shows the error's own text; the grid keeps the last preview.
    void failures_data()
    {
        QTest::addColumn<QString>("refuseOpen");
        QTest::addColumn<QString>("failing");
        QTest::addColumn<QString>("error");
        QTest::addColumn<QString>("label");
        QTest::newRow("connection refused")
            << QStringLiteral("Login failed for user 'sa'.") << QString()
            << QStringLiteral("Login failed for user 'sa'.") << QStringLiteral("fixture.dbo.A (1 row)");
        QTest::newRow("count refused")
            << QString() << QStringLiteral("count_big")
            << QStringLiteral("The SELECT permission was denied") << QStringLiteral("fixture.dbo.B");
        QTest::newRow("select refused")
            << QString() << QStringLiteral("select *")
            << QStringLiteral("Invalid object name 'dbo.B'.") << QStringLiteral("fixture.dbo.B");
    }
    void failures()
    {
        QFETCH(QString, refuseOpen);
        QFETCH(QString, failing);
        QFETCH(QString, error);
        QFETCH(QString, label);

        m_server->answer(QStringLiteral("[dbo].[A]"), numbered(1));
        TSelectF page;
        page.SetTableSource(*m_state);
        m_state->setCurrentTable(QStringLiteral("dbo.A"));
        clickSelect(page);
        QCOMPARE(cells(grid(page)), QStringList{QStringLiteral("1|name 1")});

        m_server->rules.clear();
        m_server->refuseOpen = refuseOpen;
        if (!failing.isEmpty())
            m_server->fail(failing, error);
        m_server->answer(QStringLiteral("count_big"), countOf(2));
        m_server->answer(QStringLiteral("select *"), numbered(2));
        m_state->setCurrentTable(QStringLiteral("dbo.B"));
        clickSelect(page);
        QCOMPARE(m_dialogs->texts(), QStringList{QStringLiteral("error: ") + error});
        QCOMPARE(cells(grid(page)), QStringList{QStringLiteral("1|name 1")});
        QCOMPARE(::label(page), label);
        QCOMPARE(m_server->openConnections, 0);
    }

    // A read that fails while scrolling keeps the rows already on show and
    // ends the preview's reading.
    void failedFetchKeepsRows()
    {
        PreviewModel model;
        QSignalSpy failed(&model, &PreviewModel::fetchFailed);
        QSignalSpy ended(&model, &PreviewModel::endReached);
        auto connection = m_server->connect();
        QVERIFY(connection->open(QStringLiteral("first")).ok());
        const int goodRows = 10 + PreviewModel::FetchBatch / 2;
        auto cursor = std::make_shared<PreviewCursor>(std::move(connection),
                                                      std::make_unique<BrokenQuery>(goodRows));
        PreviewBatch first = cursor->read(10);
        model.start(std::move(cursor), std::move(first));
        QCOMPARE(model.rowCount(), 10);
        QVERIFY(model.canFetchMore({}));
        model.fetchMore({});
        QTRY_VERIFY(!model.canFetchMore({}));
        QCOMPARE(model.rowCount(), goodRows);
        QCOMPARE(failed.size(), 1);
        QCOMPARE(failed.first().first().value<Error>().message, QStringLiteral("Communication link failure"));
        QCOMPARE(ended.size(), 0);
        QCOMPARE(m_server->openConnections, 0);
        QCOMPARE(model.index(goodRows - 1, 0).data().toString(), QString::number(goodRows));
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    }

    // The rows arrive off the window's thread while a model tester watches:
    // a request for more from inside an insertion, or while a batch is on its
    // way, neither nests an insertion nor reads a batch twice.
    void fetchingUnderTheModelTester()
    {
        TSelectF page;
        PreviewModel* model = previewThousandRows(page);
        QVERIFY(model);
        QAbstractItemModelTester tester(model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        const int first = model->rowCount();
        model->fetchMore({});
        QVERIFY(model->isFetching());
        model->fetchMore({});
        QCOMPARE(model->rowCount(), first); // nothing read on the window's thread
        fetchAll(model);
        QCOMPARE(model->rowCount(), 1000);
        for (const int row : {first - 1, first, first + PreviewModel::FetchBatch, 999})
            QCOMPARE(model->index(row, 0).data().toString(), QString::number(row + 1));
        QCOMPARE(label(page), QStringLiteral("fixture.dbo.Big (1000 rows)"));
    }

    void failedFetchIsReportedByThePage()
    {
        TSelectF page;
        PreviewModel* model = previewThousandRows(page);
        QVERIFY(model);
        emit model->fetchFailed(Error::failure(QStringLiteral("Communication link failure")));
        QVERIFY(m_dialogs->shown.isEmpty()); // not from inside the view's request
        QTRY_COMPARE(m_dialogs->texts(), QStringList{QStringLiteral("error: Communication link failure")});
    }

private:
    // The page's preview of a table of 1000 rows, with its first screen read.
    PreviewModel* previewThousandRows(TSelectF& page)
    {
        m_server->answer(QStringLiteral("count_big"), countOf(1000));
        m_server->answer(QStringLiteral("select *"), numbered(1000));
        m_state->setCurrentTable(QStringLiteral("dbo.Big"));
        page.SetTableSource(*m_state);
        clickSelect(page);
        return qobject_cast<PreviewModel*>(grid(page)->model());
    }

    std::unique_ptr<test::FakeServer> m_server;
    std::unique_ptr<Workspace> m_state;
    std::unique_ptr<test::FakeDialogs> m_dialogs;
};

QTEST_MAIN(TestSelectF)
#include "test_selectf.moc"

#include "tests/support/workspace.h"
#include "tests/ui/views/previewprobe.h"
// The preview page against the TDS test server, through the real ODBC layer.
#include "db/odbcconnection.h"
#include "tests/support/fakedialogs.h"
#include "tests/support/tdsserver.h"
#include "tests/support/testlocale.h"
#include "ui/views/previewmodel.h"
#include "ui/views/selectf.h"

#include <QElapsedTimer>
#include <QFont>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

using namespace corvane;
using namespace corvane::test;
using test::TdsServer;

namespace {

// moc reads raw strings badly when they hold a lone single quote: JSON
// escapes stand in for it.
const QByteArray Rules = R"([
    {"match": "count_big(*) from [dbo].[Person]", "columns": [{"name": "", "type": "bigint"}], "rows": [[3]]},
    {"match": "select * from [dbo].[Person]", "columns": [
        {"name": "id", "type": "int"}, {"name": "customer_name", "type": "nvarchar"},
        {"name": "city", "type": "nvarchar"}, {"name": "score", "type": "int"},
        {"name": "note", "type": "nvarchar max"}],
     "rows": [[1, "Ann", "Zürich", 10, "first"],
              [2, "O\u0027Brien", null, -5, ""],
              [3, "Zoë", "Oslo", null, null]]},
    {"match": "count_big(*) from [dbo].[Empty]", "columns": [{"name": "", "type": "bigint"}], "rows": [[0]]},
    {"match": "select * from [dbo].[Empty]", "columns": [
        {"name": "id", "type": "int"}, {"name": "name", "type": "nvarchar"}], "rows": []},
    {"match": "count_big(*) from [dbo].[Order Lines]", "columns": [{"name": "", "type": "bigint"}], "rows": [[1]]},
    {"match": "select * from [dbo].[Order Lines]", "columns": [
        {"name": "line no", "type": "int"}], "rows": [[7]]},
    {"match": "count_big(*) from [dbo].[Big]", "columns": [{"name": "", "type": "bigint"}], "rows": [[100000]]},
    {"match": "select * from [dbo].[Big]", "columns": [
        {"name": "n", "type": "int"}, {"name": "t", "type": "nvarchar"}], "generate": 100000},
    {"match": "count_big(*) from [dbo].[Slow]", "stall": 2,
     "columns": [{"name": "", "type": "bigint"}], "rows": [[1]]},
    {"match": "select * from [dbo].[Slow]", "columns": [{"name": "slow", "type": "int"}], "rows": [[1]]},
    {"match": "[dbo].[Missing]", "error": {"number": 208, "message": "Invalid object name 'dbo.Missing'."}}
])";

const QByteArray OtherRules = R"([
    {"match": "count_big(*) from [dbo].[Person]", "columns": [{"name": "", "type": "bigint"}], "rows": [[1]]},
    {"match": "select * from [dbo].[Person]", "columns": [
        {"name": "id", "type": "int"}, {"name": "nickname", "type": "nvarchar"}], "rows": [[9, "other row"]]}
])";

} // namespace

class TestSelectFTds : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        test::useTestLocale();
        m_server = std::make_unique<TdsServer>(TdsServer::defaultFixture(Rules, OtherRules));
        QVERIFY(m_server->started());
    }
    void cleanupTestCase() { m_server.reset(); }

    void init()
    {
        m_server->clearBatches();
        m_state = std::make_unique<Workspace>([] { return db::MakeOdbcConnection(); });
        test::load(*m_state, {}, m_server->connectionString());
        test::useTables(*m_state, {{QStringLiteral("dbo"), QStringLiteral("Person")},
                                   {QStringLiteral("dbo"), QStringLiteral("Empty")},
                                   {QStringLiteral("dbo"), QStringLiteral("Order Lines")},
                                   {QStringLiteral("dbo"), QStringLiteral("Big")},
                                   {QStringLiteral("dbo"), QStringLiteral("Missing")},
                                   {QStringLiteral("dbo"), QStringLiteral("Slow")}});
        m_dialogs = std::make_unique<test::FakeDialogs>();
    }
    void cleanup() { m_dialogs.reset(); }

    void threeRowsFiveColumns()
    {
        TSelectF page;
        page.SetTableSource(*m_state);
        m_state->setCurrentTable(QStringLiteral("dbo.Person"));
        clickSelect(page);
        QVERIFY2(m_dialogs->shown.isEmpty(), qPrintable(m_dialogs->texts().join(u'\n')));

        QTableView* view = grid(page);
        QCOMPARE(headings(view), (QStringList{QStringLiteral("id"), QStringLiteral("customer_name"),
                                              QStringLiteral("city"), QStringLiteral("score"),
                                              QStringLiteral("note")}));
        // NULL reads apart from the empty text (row 2's note).
        QCOMPARE(cells(view), (QStringList{QStringLiteral("1|Ann|Zürich|10|first"),
                                           QStringLiteral("2|O'Brien|NULL|-5|"),
                                           QStringLiteral("3|Zoë|Oslo|NULL|NULL")}));
        QVERIFY(view->model()->index(1, 2).data(PreviewModel::IsNullRole).toBool());
        QVERIFY(!view->model()->index(1, 4).data(PreviewModel::IsNullRole).toBool());
        QVERIFY(view->model()->index(1, 2).data(Qt::FontRole).value<QFont>().italic());
        // Each column shows its heading and its values whole.
        const QFontMetrics metrics = view->fontMetrics();
        for (int c = 0; c < 5; ++c) {
            const QString heading = headings(view).at(c);
            QVERIFY2(view->columnWidth(c) > metrics.horizontalAdvance(heading), qPrintable(heading));
        }
        QVERIFY(view->columnWidth(1) > metrics.horizontalAdvance(QStringLiteral("O'Brien")));
        QCOMPARE(label(page), QStringLiteral("fixture.dbo.Person (3 rows)"));
        QCOMPARE(m_server->batches(),
                 (QStringList{QStringLiteral("select count_big(*) from [dbo].[Person]"),
                              QStringLiteral("select * from [dbo].[Person]")}));
    }

    void emptyTable()
    {
        TSelectF page;
        page.SetTableSource(*m_state);
        m_state->setCurrentTable(QStringLiteral("dbo.Empty"));
        clickSelect(page);
        QVERIFY2(m_dialogs->shown.isEmpty(), qPrintable(m_dialogs->texts().join(u'\n')));
        QCOMPARE(headings(grid(page)), (QStringList{QStringLiteral("id"), QStringLiteral("name")}));
        QCOMPARE(cells(grid(page)), QStringList{QStringLiteral("|")});
        QCOMPARE(label(page), QStringLiteral("fixture.dbo.Empty (0 rows)"));
    }

    void tableNameWithBlank()
    {
        TSelectF page;
        page.SetTableSource(*m_state);
        m_state->setCurrentTable(QStringLiteral("dbo.Order Lines"));
        clickSelect(page);
        QVERIFY2(m_dialogs->shown.isEmpty(), qPrintable(m_dialogs->texts().join(u'\n')));
        QCOMPARE(cells(grid(page)), QStringList{QStringLiteral("7")});
        QCOMPARE(m_server->batches().last(), QStringLiteral("select * from [dbo].[Order Lines]"));
    }

    // A page made before a new Login previews the database of the new Login.
    void newLoginReadsNewDatabase()
    {
        TSelectF page;
        page.SetTableSource(*m_state);
        m_state->setCurrentTable(QStringLiteral("dbo.Person"));
        clickSelect(page);
        QCOMPARE(cells(grid(page)).size(), 3);

        test::load(*m_state, {}, m_server->connectionString(QString::fromUtf16(TdsServer::OtherDatabase)));
        test::useTables(*m_state, {{QStringLiteral("dbo"), QStringLiteral("Person")}});
        m_state->setCurrentTable(QStringLiteral("dbo.Person"));
        clickSelect(page);
        QVERIFY2(m_dialogs->shown.isEmpty(), qPrintable(m_dialogs->texts().join(u'\n')));
        QCOMPARE(headings(grid(page)), (QStringList{QStringLiteral("id"), QStringLiteral("nickname")}));
        QCOMPARE(cells(grid(page)), QStringList{QStringLiteral("9|other row")});
        QCOMPARE(label(page), QStringLiteral("other.dbo.Person (1 row)"));
        QCOMPARE(m_server->records().last().database, QStringLiteral("other"));
    }

    // A big table shows its first rows at once and reads on while scrolled;
    // a new preview may start while the last one still has rows to read.
    void bigTableOnDemand()
    {
        TSelectF page;
        page.resize(600, 400);
        page.SetTableSource(*m_state);
        page.show();
        m_state->setCurrentTable(QStringLiteral("dbo.Big"));
        clickSelect(page);
        QVERIFY2(m_dialogs->shown.isEmpty(), qPrintable(m_dialogs->texts().join(u'\n')));
        QAbstractItemModel* model = grid(page)->model();
        const int first = model->rowCount();
        QVERIFY(first >= 20);
        QVERIFY(first < 100000);
        QCOMPARE(label(page), QStringLiteral("fixture.dbo.Big (100000 rows)"));

        grid(page)->scrollToBottom();
        QTRY_VERIFY(model->rowCount() > first);
        QCOMPARE(model->index(first, 1).data().toString(), QStringLiteral("t %1").arg(first + 1));

        m_state->setCurrentTable(QStringLiteral("dbo.Person"));
        clickSelect(page);
        QVERIFY2(m_dialogs->shown.isEmpty(), qPrintable(m_dialogs->texts().join(u'\n')));
        QCOMPARE(cells(grid(page)).size(), 3);
    }

    // While the server holds the count the page handles events and says it
    // is reading. A newer "Select table" wins: the stalled one is cancelled
    // on the server, and neither its rows nor its failure ever show.
    void newerSelectWinsOverAStalledCount()
    {
        TSelectF page;
        page.resize(600, 400);
        page.SetTableSource(*m_state);
        page.show();
        m_state->setCurrentTable(QStringLiteral("dbo.Slow"));
        QElapsedTimer clock;
        clock.start();
        startSelect(page);
        QVERIFY2(clock.elapsed() < 1000, "the count ran on the window's thread");
        QVERIFY(page.isLoading());
        QCOMPARE(label(page), QStringLiteral("dbo.Slow (reading…)"));
        QCOMPARE(page.cursor().shape(), Qt::BusyCursor);
        QTRY_VERIFY(
            m_server->batches().contains(QStringLiteral("select count_big(*) from [dbo].[Slow]")));
        bool ticked = false;
        QTimer::singleShot(0, &page, [&] { ticked = true; });
        QTRY_VERIFY(ticked);
        QVERIFY(page.isLoading());

        m_state->setCurrentTable(QStringLiteral("dbo.Person"));
        clickSelect(page);
        QCOMPARE(cells(grid(page)).size(), 3);
        QCOMPARE(label(page), QStringLiteral("fixture.dbo.Person (3 rows)"));
        QCOMPARE(page.cursor().shape(), Qt::ArrowCursor);

        // Past the time the server would have held the count.
        QTest::qWait(int(std::max<qint64>(0, 2500 - clock.elapsed())));
        QVERIFY2(m_dialogs->shown.isEmpty(), qPrintable(m_dialogs->texts().join(u'\n')));
        QCOMPARE(cells(grid(page)).size(), 3);
        QCOMPARE(label(page), QStringLiteral("fixture.dbo.Person (3 rows)"));
        QVERIFY(!m_server->batches().contains(QStringLiteral("select * from [dbo].[Slow]")));
    }

    void missingTableShowsServerError()
    {
        TSelectF page;
        page.SetTableSource(*m_state);
        m_state->setCurrentTable(QStringLiteral("dbo.Person"));
        clickSelect(page);
        m_state->setCurrentTable(QStringLiteral("dbo.Missing"));
        clickSelect(page);
        QCOMPARE(m_dialogs->shown.size(), 1);
        QCOMPARE(m_dialogs->shown.first().kind, QStringLiteral("error"));
        QVERIFY2(m_dialogs->shown.first().text.contains(QStringLiteral("Invalid object name 'dbo.Missing'.")),
                 qPrintable(m_dialogs->shown.first().text));
        QCOMPARE(cells(grid(page)).size(), 3);
    }

private:
    std::unique_ptr<TdsServer> m_server;
    std::unique_ptr<Workspace> m_state;
    std::unique_ptr<test::FakeDialogs> m_dialogs;
};

QTEST_MAIN(TestSelectFTds)
#include "test_selectf_tds.moc"

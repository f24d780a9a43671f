// Time until the preview page shows the first screen of a big table, read
// through ODBC from the TDS test server, which generates the rows as they are
// sent.
#include "db/odbcconnection.h"
#include "tests/support/fakedialogs.h"
#include "tests/support/tdsserver.h"
#include "ui/views/selectf.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTableView>

#include <cstdio>

using namespace corvane;

namespace {

QByteArray rules()
{
    QByteArray out = "[";
    for (const int rows : {100000, 1000000}) {
        const QByteArray n = QByteArray::number(rows);
        out += R"({"match": "count_big(*) from [dbo].[T)" + n +
               R"(]", "columns": [{"name": "", "type": "bigint"}], "rows": [[)" + n + "]]},";
        out += R"({"match": "select * from [dbo].[T)" + n +
               R"(]", "columns": [{"name": "id", "type": "int"}, {"name": "name", "type": "nvarchar"},)"
               R"( {"name": "born", "type": "datetime"}, {"name": "score", "type": "float"}], "generate": )" +
               n + "},";
    }
    out.chop(1);
    return out + "]";
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    test::TdsServer server(test::TdsServer::defaultFixture(rules()));
    if (!server.started())
        return 1;
    test::FakeDialogs dialogs;

    Workspace state([] { return db::MakeOdbcConnection(); });
    state.replace({TData{}, SchemaTree{}, server.connectionString()});

    // Each size on a page of its own, so that no half-read earlier result has
    // to be wound up first; that case is measured on its own below.
    const auto preview = [&](TSelectF& page, int rows) {
        const QString name = QStringLiteral("dbo.T%1").arg(rows);
        TColumnRec table;
        table.stab = name;
        table.schema = QStringLiteral("dbo");
        table.tab = QStringLiteral("T%1").arg(rows);
        table.col = QStringLiteral("id");
        state.replace({TData{TColumnRec{}, TColumnRec{}, table}, SchemaTree{}, server.connectionString()});
        state.setCurrentTable(name);
        auto* button = page.findChild<QPushButton*>(QStringLiteral("BtSelect"));
        auto* view = page.findChild<QTableView*>(QStringLiteral("StringGrid1"));
        QElapsedTimer timer;
        timer.start();
        button->click();
        while (page.isLoading())
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        QApplication::processEvents();
        const double ms = timer.nsecsElapsed() / 1e6;
        return (dialogs.shown.isEmpty() && view->model()->rowCount() >= 2) ? ms : -1.0;
    };
    const auto makePage = [&](TSelectF& page) {
        page.resize(1000, 700);
        page.SetTableSource(state);
        page.show();
    };
    for (const int rows : {100000, 1000000}) {
        TSelectF page;
        makePage(page);
        const double ms = preview(page, rows);
        if (ms < 0)
            return 1;
        std::printf("preview first screen\t%d\t%.1f\n", rows, ms);
    }
    // A new preview over one whose result is still mostly unread: the rest
    // that the network already buffered is wound up on a worker meanwhile.
    for (const int rows : {100000, 1000000}) {
        TSelectF page;
        makePage(page);
        if (preview(page, rows) < 0)
            return 1;
        const double ms = preview(page, 100000);
        if (ms < 0)
            return 1;
        std::printf("preview after a half-read preview\t%d\t%.1f\n", rows, ms);
    }
    return 0;
}

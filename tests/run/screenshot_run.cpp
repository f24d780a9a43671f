// Draws the Run SQL page against the TDS test server twice: while a column's
// batch is being held by the server, and after a run in which a column
// failed. tools/screenshot runs it for the pictures in docs/.
#include "catalogue/workspace.h"
#include "db/odbcconnection.h"
#include "run/runsqlf.h"
#include "tests/support/fakedialogs.h"
#include "tests/support/tdsserver.h"
#include "tests/support/testlocale.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>

#include <cstdio>

using namespace corvane;

namespace {

TColumnRec column(const QString& stab, const QString& col, MethodCode method, const QString& p1 = {})
{
    TColumnRec rec;
    rec.stab = stab;
    rec.col = col;
    rec.method = method;
    rec.param1 = p1;
    return rec;
}

TData shop()
{
    return {TColumnRec{},
            TColumnRec{},
            column(QStringLiteral("dbo.Customer"), QStringLiteral("Name"), 1009),
            column(QStringLiteral("dbo.Customer"), QStringLiteral("Email"), 1009),
            column(QStringLiteral("dbo.Customer"), QStringLiteral("Born"), 3),
            TColumnRec{},
            column(QStringLiteral("sales.Orders"), QStringLiteral("Total"), 2009),
            column(QStringLiteral("sales.Orders"), QStringLiteral("Note"), 109)};
}

bool shoot(QWidget& page, const QString& path)
{
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
    if (page.grab().save(path)) {
        std::printf("%s\n", qPrintable(path));
        return true;
    }
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    test::useTestLocale();
    if (argc < 3) {
        std::fprintf(stderr, "usage: screenshot_run RUNNING.png FAILED.png\n");
        return 2;
    }
    test::TdsServer server(test::TdsServer::defaultFixture(R"([
      {"match": "update sales.Orders", "stall": 60},
      {"match": "[Born]", "error": {"number": 8115,
        "message": "Arithmetic overflow error converting expression to data type datetime."}}
    ])"));
    if (!server.started()) {
        std::fprintf(stderr, "the TDS test server did not start\n");
        return 1;
    }
    test::FakeDialogs dialogs;
    Workspace workspace([] { return db::MakeOdbcConnection(); });
    workspace.replace({shop(), SchemaTree{}, server.connectionString()});

    TRunSQLF page;
    page.resize(900, 520);
    page.SetSource(workspace);
    page.show();
    page.Button7Click();
    // Held by the server on the fourth column; the clock has ticked.
    (void)QTest::qWaitFor([&] { return server.batches().size() >= 5; }, 20000);
    QTest::qWait(2300);
    if (!shoot(page, QString::fromLocal8Bit(argv[1])))
        return 1;

    page.stopClick();
    (void)QTest::qWaitFor([&] { return !page.isRunning(); }, 20000);
    server.setFixture(test::TdsServer::defaultFixture(R"([
      {"match": "[Born]", "error": {"number": 8115,
        "message": "Arithmetic overflow error converting expression to data type datetime."}}
    ])"));
    page.Button7Click();
    (void)QTest::qWaitFor(
        [&] {
            return !page.isRunning() &&
                   page.findChild<QPushButton*>(QStringLiteral("Button7"))->isEnabled();
        },
        20000);
    return shoot(page, QString::fromLocal8Bit(argv[2])) ? 0 : 1;
}

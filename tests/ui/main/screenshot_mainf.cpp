// Draws the main window, logged in to the TDS test server's shop schema, into
// a PNG file: tools/screenshot runs it so that a reviewer can see the window.
#include "db/odbcconnection.h"
#include "tests/support/fakedialogs.h"
#include "tests/support/tdsserver.h"
#include "tests/support/testlocale.h"
#include "tests/ui/main/logintest.h"
#include "tests/ui/main/schemafixture.h"
#include "ui/main/loginf.h"
#include "ui/main/mainf.h"
#include "ui/main/schematreemodel.h"

#include <QApplication>
#include <QTest>
#include <QLineEdit>
#include <QTabWidget>
#include <QTreeView>

#include <cstdio>

using namespace corvane;

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    test::useTestLocale();
    const QString output =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("mainwindow.png");

    test::TdsServer server(test::TdsServer::defaultFixture(test::shopSchemaRules()));
    if (!server.started()) {
        std::fprintf(stderr, "the TDS test server did not start\n");
        return 1;
    }
    test::FakeDialogs dialogs;

    TMainF window(&db::MakeOdbcConnection);
    window.setDialogRunner([&server](QDialog& dialog) {
        if (auto* login = qobject_cast<TLoginF*>(&dialog))
            test::logInToFixture(*login, server.port());
        return dialog.result();
    });
    window.FormCreate();
    (void)QTest::qWaitFor([&] { return !window.isBusy(); }, 10000);
    if (window.treeModel()->rowCount() == 0) {
        for (const QString& text : dialogs.texts())
            std::fprintf(stderr, "%s\n", qPrintable(text));
        return 1;
    }
    // A few masked columns, then the tree narrowed to the ones named like "Id"
    // or "Name": the marks and the types show beside the names.
    const auto mask = [&](int slot, MethodCode code, const QString& from = {},
                          const QString& to = {}) {
        window.workspace().editSlot(slot, [&](TColumnRec& rec) {
            rec.method = code;
            rec.param1 = from;
            rec.param2 = to;
        });
    };
    mask(3, 1003, QStringLiteral("4"), QStringLiteral("12"));  // dbo.City.Name
    mask(12, 1003, QStringLiteral("3"), QStringLiteral("10")); // dbo.Person.FirstName
    mask(14, 4);    // dbo.Person.Birthdate
    window.resize(1200, 720);
    window.show();
    window.TreeFilter->setText(QStringLiteral("name"));
    window.TreeView1->setCurrentIndex(window.treeModel()->indexOf(12)); // dbo.Person.FirstName
    window.MyPageControl1->setCurrentWidget(window.TsAnonymization);
    window.TreeView1->setFocus();
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();

    if (!window.grab().save(output)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(output));
        return 1;
    }
    std::printf("%s\n", qPrintable(output));
    return 0;
}

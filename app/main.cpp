#include "db/odbcconnection.h"
#include "ui/main/mainf.h"

#include <QApplication>
#include <QSettings>

#include <cstdio>
#include <cstring>

int main(int argc, char* argv[])
{
    // Answered before any window system is needed, so that it works on a
    // server or in a package check as well.
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("corvane %s\n", CORVANE_VERSION);
        return 0;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Corvane"));
    QApplication::setApplicationVersion(QStringLiteral(CORVANE_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("corvane"));
    QSettings settings(QStringLiteral("Corvane"), QStringLiteral("Corvane"));
    corvane::TMainF window(&corvane::db::MakeOdbcConnection);
    window.setSettings(&settings);
    window.FormCreate();
    window.show();
    return app.exec();
}

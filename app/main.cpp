#include "db/odbcconnection.h"
#include "ui/main/loginf.h"
#include "ui/main/mainf.h"
#include "ui/main/settings.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QSettings>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

// "--demo HOST,PORT": the demo server that tools/demo starts. Its login is
// filled in, and nothing is remembered of it.
QString demoServer(const QStringList& arguments)
{
    const qsizetype at = arguments.indexOf(QStringLiteral("--demo"));
    return at >= 0 ? arguments.value(at + 1) : QString();
}

} // namespace

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

    const QString demo = demoServer(QApplication::arguments());
    std::unique_ptr<QSettings> settings;
    if (demo.isEmpty())
        settings =
            std::make_unique<QSettings>(QStringLiteral("Corvane"), QStringLiteral("Corvane"));
    else
        settings = std::make_unique<QSettings>(QDir::current().filePath(QStringLiteral("demo.ini")),
                                               QSettings::IniFormat);

    corvane::TMainF window(&corvane::db::MakeOdbcConnection);
    window.setSettings(settings.get());
    if (!demo.isEmpty()) {
        corvane::settings::rememberLogin(settings.get(),
                                         {demo, QStringLiteral("shop"), QStringLiteral("demo")});
        window.setDialogRunner([](QDialog& dialog) {
            if (auto* login = qobject_cast<corvane::TLoginF*>(&dialog))
                login->EdPassword->setText(QStringLiteral("demo"));
            return dialog.exec();
        });
    }
    if (!demo.isEmpty())
        window.setServerNotice(
            QStringLiteral("Demo server: it answers, but nothing in it changes"));
    window.FormCreate();
    window.show();
    return app.exec();
}

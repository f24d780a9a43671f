#include "db/odbcconnection.h"
#include "ui/main/mainf.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Corvane"));
    corvane::TMainF window(&corvane::db::MakeOdbcConnection);
    window.FormCreate();
    window.show();
    return app.exec();
}

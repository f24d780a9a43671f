// Project files of big schemas and the list page that shows their choices.
#include "project/loadsave.h"
#include "catalogue/workspace.h"
#include "ui/views/listf.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>

using namespace corvane;

namespace {

// `slotCount` slots: the database node, then tables of 20 columns each; every
// second column has a method with parameters.
TData catalogue(int slotCount)
{
    TData data;
    data.reserve(slotCount);
    data.append(TColumnRec{});
    QString table;
    for (int i = 1; i < slotCount; ++i) {
        if ((i - 1) % 21 == 0) {
            table = QStringLiteral("dbo.Table%1").arg(i);
            data.append(TColumnRec{});
            continue;
        }
        TColumnRec rec;
        rec.stab = table;
        rec.col = QStringLiteral("Column%1").arg(i);
        rec.method = i % 2 ? 1003 : NoMethodYet;
        if (i % 2) {
            rec.param1 = QStringLiteral("5");
            rec.param2 = QStringLiteral("50");
        }
        data.append(rec);
    }
    return data;
}

void report(const char* name, int size, const QElapsedTimer& timer)
{
    std::printf("%s\t%d\t%.1f\n", name, size, timer.nsecsElapsed() / 1e6);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    if (!dir.isValid())
        return 1;

    for (const int slotCount : {10000, 100000}) {
        TData data = catalogue(slotCount);
        const QString path = dir.filePath(QStringLiteral("bench.crv"));
        QElapsedTimer timer;
        timer.start();
        if (!TLoadSave().SaveProject(path, data).ok())
            return 1;
        report("project save", slotCount, timer);
        timer.start();
        if (!TLoadSave().LoadProject(path, data).ok())
            return 1;
        report("project load", slotCount, timer);

        Workspace workspace;
        TListF page;
        page.resize(800, 600);
        page.SetCatalogue(workspace);
        page.show();
        timer.start();
        workspace.replace({data, SchemaTree{}, QString()});
        QCoreApplication::processEvents();
        report("list page refresh (half listed)", slotCount, timer);
        timer.start();
        workspace.replaceChoices(data);
        QCoreApplication::processEvents();
        report("list page refresh again", slotCount, timer);
    }
    return 0;
}

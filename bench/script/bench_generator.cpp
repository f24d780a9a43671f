// Generating the script for a large catalogue of masked columns of every
// family, word lists included; the time should grow linearly.
#include "script/generator.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

using namespace corvane;

namespace {

const MethodCode Codes[] = {1,    2,    3,    4,    5,    6,    7,    8,    9,    101,  102,  103,
                            104,  105,  106,  107,  108,  109,  1001, 1002, 1003, 1004, 1005, 1007,
                            1008, 1009, 2001, 2002, 2003, 2004, 2005, 2006, 2007, 2008, 2009};

TData catalogue(int columns)
{
    TData data;
    data.reserve(columns + columns / 20 + 2);
    data.append(TColumnRec{});
    for (int i = 0; i < columns; ++i) {
        if (i % 20 == 0)
            data.append(TColumnRec{}); // the table's own slot
        TColumnRec slot;
        slot.schema = QStringLiteral("dbo");
        slot.tab = QStringLiteral("Table%1").arg(i / 20);
        slot.stab = slot.schema + u'.' + slot.tab;
        slot.col = QStringLiteral("Column %1").arg(i % 20);
        slot.PK_schema = QStringLiteral("dbo");
        slot.PK_table = QStringLiteral("Keys");
        slot.PK_column = QStringLiteral("KeyId");
        slot.method = Codes[i % std::size(Codes)];
        const bool dates = slot.method == 1 || slot.method == 4 || slot.method == 5 || slot.method == 8;
        slot.param1 = dates ? QStringLiteral("3/5/2024") : slot.method == 1007 ? QStringLiteral("names")
                                                                               : QStringLiteral("10");
        slot.param2 = dates ? QStringLiteral("12/31/2025") : QStringLiteral("20");
        data.append(slot);
    }
    return data;
}

} // namespace

int main()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    QDir().mkdir(QStringLiteral("virtual_data"));
    QFile list(QStringLiteral("virtual_data/names.txt"));
    if (!list.open(QIODevice::WriteOnly))
        return 1;
    list.write("Ann;Bob;Carla;Dmitri;O'Hara\r\n");
    list.close();

    for (const int columns : {10000, 100000}) {
        const TData data = catalogue(columns);
        double best = 1e300;
        qsizetype size = 0;
        for (int run = 0; run < 3; ++run) {
            QElapsedTimer timer;
            timer.start();
            const auto generation = script::GenerateScript(data, 1);
            best = std::min(best, timer.nsecsElapsed() / 1e6);
            if (generation.error)
                return 1;
            size = generation.script.size();
        }
        std::printf("generate\t%d\t%.1f\n", columns, best);
        std::fprintf(stderr, "  %lld characters\n", static_cast<long long>(size));
    }
    return 0;
}

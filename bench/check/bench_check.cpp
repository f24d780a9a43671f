// Checking a large catalogue of masked columns of every family against facts
// in which every rule finds something now and then; the time should grow
// linearly.
#include "check/rules.h"

#include <QElapsedTimer>
#include <QLocale>

#include <algorithm>
#include <cstdio>
#include <ctime>

using namespace corvane;
using namespace corvane::check;

namespace {

const MethodCode Codes[] = {1,    2,    3,    4,    5,    6,    7,    8,    9,    101,  102,  103,
                            104,  105,  106,  107,  108,  109,  1001, 1002, 1003, 1004, 1005, 1008,
                            1009, 2001, 2002, 2003, 2004, 2005, 2006, 2007, 2008, 2009};

constexpr int ColumnsPerTable = 20;

void build(int columns, TData& data, Facts& facts)
{
    data.reserve(columns + columns / ColumnsPerTable + 2);
    data.append(TColumnRec{});
    for (int i = 0; i < columns; ++i) {
        const int table = i / ColumnsPerTable;
        TColumnRec slot;
        slot.schema = QStringLiteral("dbo");
        slot.tab = QStringLiteral("Table%1").arg(table);
        slot.stab = slot.schema + u'.' + slot.tab;
        slot.col = QStringLiteral("Column %1").arg(i % ColumnsPerTable);
        slot.PK_table = QStringLiteral("Keys");
        slot.PK_column = QStringLiteral("KeyId");
        slot.method = Codes[i % std::size(Codes)];
        const bool dates =
            slot.method == 1 || slot.method == 4 || slot.method == 5 || slot.method == 8;
        slot.param1 = dates ? QStringLiteral("3/5/2024") : QStringLiteral("10");
        slot.param2 = dates ? QStringLiteral("12/31/2025") : QStringLiteral("20");
        slot.isnull = QStringLiteral("YES");
        if (i % ColumnsPerTable == 0) {
            data.append(TColumnRec{}); // the table's own slot
            TableFacts& t = facts.table(slot.schema, slot.tab);
            // One table in ten is large, one in ten has a trigger, one in fifty is empty.
            t.rows = table % 10 == 0 ? 2000000 : table % 50 == 1 ? 0 : 5000;
            t.triggers = table % 10 == 2 ? 1 : 0;
            t.firstTrigger = QStringLiteral("trg");
        }
        ColumnFacts& c = facts.table(slot.schema, slot.tab).columns[slot.col];
        static const char* const types[] = {"int", "nvarchar", "decimal", "datetime", "tinyint"};
        c.type = QLatin1String(types[i % std::size(types)]);
        c.maxLength = 40;
        c.precision = 10;
        c.scale = 2;
        c.nullable = i % 7 != 0;
        c.uniqueIndex = i % 11 == 0 ? QStringLiteral("UQ") : QString();
        c.uniqueColumns = c.uniqueIndex.isEmpty() ? 0 : 1;
        c.referencedBy = c.referencedWithoutCascade = i % 13 == 0 ? 1 : 0;
        c.foreignKeys = 1;
        c.foreignKeyColumns = i % 20 == 0 ? 2 : 1;
        slot.typ = c.type;
        data.append(slot);
    }
}

double cpuMilliseconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

} // namespace

int main()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    for (const int columns : {10000, 100000}) {
        TData data;
        Facts facts;
        build(columns, data, facts);
        double best = 1e300;
        double bestCpu = 1e300;
        qsizetype found = 0;
        for (int run = 0; run < 5; ++run) {
            QElapsedTimer timer;
            timer.start();
            const double cpu = cpuMilliseconds();
            const Findings findings = Check(data, facts);
            best = std::min(best, timer.nsecsElapsed() / 1e6);
            bestCpu = std::min(bestCpu, cpuMilliseconds() - cpu);
            found = findings.size();
        }
        std::printf("check\t%d\t%.1f\n", columns, best);
        // On a busy machine the wall time shows the wait for a core as well.
        std::fprintf(stderr, "  %lld findings, %.1f ms of processor time\n",
                     static_cast<long long>(found), bestCpu);
    }
    return 0;
}

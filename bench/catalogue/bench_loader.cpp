// Client-side cost of loading a schema: the walk that fills the catalogue and
// the tree from the rows of the schema query.
#include "catalogue/loader.h"

#include <QElapsedTimer>

#include <cstdio>

using namespace corvane;

namespace {

db::Rows schemaRows(int tables, int columnsPerTable)
{
    db::Rows rows;
    rows.fields = {QStringLiteral("tab"),       QStringLiteral("col"),     QStringLiteral("schema"),
                   QStringLiteral("stab"),      QStringLiteral("FK_Column"), QStringLiteral("PK_Table"),
                   QStringLiteral("PK_Column"), QStringLiteral("Constraint_Name"), QStringLiteral("PK"),
                   QStringLiteral("isnull"),    QStringLiteral("typ"),     QStringLiteral("char_max")};
    rows.rows.reserve(tables * columnsPerTable);
    for (int t = 0; t < tables; ++t) {
        const QString table = QStringLiteral("Table%1").arg(t, 5, 10, QLatin1Char('0'));
        for (int c = 0; c < columnsPerTable; ++c) {
            const QString col = QStringLiteral("Column%1").arg(c);
            rows.rows.append({table, col, QStringLiteral("dbo"), QStringLiteral("dbo.") + table, {}, {}, {}, {},
                              c == 0 ? col : QString(), QStringLiteral("YES"),
                              c % 2 ? QStringLiteral("varchar") : QStringLiteral("int"),
                              c % 2 ? QStringLiteral("50") : QString()});
        }
    }
    return rows;
}

} // namespace

int main()
{
    for (const int tables : {500, 5000}) {
        const db::Rows rows = schemaRows(tables, 20);
        TData catalogue;
        SchemaTree tree;
        QElapsedTimer timer;
        timer.start();
        BuildCatalogue(QStringLiteral("Bench"), rows, catalogue, tree);
        std::printf("schema load (catalogue and tree)\t%d\t%.1f\n", tables * 20,
                    timer.nsecsElapsed() / 1e6);
    }
    return 0;
}

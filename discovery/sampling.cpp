#include "discovery/sampling.h"

#include "catalogue/sqlname.h"
#include "discovery/typekind.h"

#include <algorithm>
#include <memory>

namespace corvane::discovery {

bool IsSampled(const TColumnRec& column)
{
    if (column.col.isEmpty())
        return false;
    const TypeKind kind = KindOfType(column.typ);
    if (kind == TypeKind::Unusable)
        return false;
    return !(kind == TypeKind::Text && MaxLength(column) == -1);
}

QString SampleQuery(const TData& catalogue, const QVector<int>& columnSlots, int rows)
{
    const int n = qBound(1, rows, MaxSampleRows);
    QString columns;
    for (int slot : columnSlots) {
        if (!columns.isEmpty())
            columns += u',';
        columns += quoteName(catalogue.at(slot).col);
    }
    const TColumnRec& first = catalogue.at(columnSlots.first());
    return QStringLiteral("select TOP (%1) ").arg(n) + columns + QStringLiteral(" from ") +
           quoteTable(first.schema, first.tab);
}

QVector<TableSample> SampleTables(db::Connection& connection, const TData& catalogue,
                                  const QVector<int>& columnSlots, int rows,
                                  const std::function<bool(int, int)>& progress)
{
    // Tables in the order of their first slot; a table's columns stay together.
    QVector<TableSample> tables;
    for (int slot : columnSlots) {
        if (slot < 0 || slot >= catalogue.size() || !IsSampled(catalogue.at(slot)))
            continue;
        const QString& stab = catalogue.at(slot).stab;
        if (tables.isEmpty() || tables.last().stab != stab) {
            auto same = std::find_if(tables.begin(), tables.end(),
                                     [&](const TableSample& t) { return t.stab == stab; });
            if (same == tables.end()) {
                tables.append({stab, {}, {}, {}});
                same = tables.end() - 1;
            }
            same->columnSlots.append(slot);
        } else {
            tables.last().columnSlots.append(slot);
        }
    }

    for (int t = 0; t < tables.size(); ++t) {
        if (progress && !progress(t, int(tables.size()))) {
            tables.resize(t);
            return tables;
        }
        TableSample& table = tables[t];
        table.values.resize(table.columnSlots.size());
        auto query = connection.query(SampleQuery(catalogue, table.columnSlots, rows));
        if (!query) {
            table.error = query.error().message;
            continue;
        }
        std::unique_ptr<db::Query> q = std::move(*query);
        for (;;) {
            auto more = q->next();
            if (!more) {
                table.error = more.error().message;
                break;
            }
            if (!*more)
                break;
            for (int c = 0; c < table.columnSlots.size() && c < q->fieldCount(); ++c)
                table.values[c].append(q->value(c));
        }
    }
    if (progress)
        progress(int(tables.size()), int(tables.size()));
    return tables;
}

} // namespace corvane::discovery

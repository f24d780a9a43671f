#include "ui/views/previewsql.h"

#include "catalogue/sqlname.h"

namespace corvane {

const TColumnRec* TableSlot(const TData& catalogue, const QString& treeText)
{
    for (const TColumnRec& slot : catalogue)
        if (!slot.col.isEmpty() && slot.stab == treeText)
            return &slot;
    return nullptr;
}

QString PreviewQuery(const TColumnRec& table)
{
    return QStringLiteral("select * from ") + quoteTable(table.schema, table.tab);
}

QString RowCountQuery(const TColumnRec& table)
{
    return QStringLiteral("select count_big(*) from ") + quoteTable(table.schema, table.tab);
}

} // namespace corvane

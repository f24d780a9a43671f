#include "ui/views/previewsql.h"

#include "catalogue/sqlname.h"

namespace corvane {

QString QuotedTableName(const QString& treeText)
{
    const qsizetype dot = treeText.indexOf(u'.');
    if (dot < 0)
        return quoteName(treeText);
    return quoteName(treeText.left(dot)) + u'.' + quoteName(treeText.mid(dot + 1));
}

QString PreviewQuery(const QString& treeText)
{
    return QStringLiteral("select * from ") + QuotedTableName(treeText);
}

QString RowCountQuery(const QString& treeText)
{
    return QStringLiteral("select count_big(*) from ") + QuotedTableName(treeText);
}

} // namespace corvane

#include "ui/views/previewsql.h"

namespace corvane {

namespace {

QString bracketed(QString name)
{
    return u'[' + name.replace(u']', QStringLiteral("]]")) + u']';
}

} // namespace

QString QuotedTableName(const QString& treeText)
{
    const qsizetype dot = treeText.indexOf(u'.');
    if (dot < 0)
        return bracketed(treeText);
    return bracketed(treeText.left(dot)) + u'.' + bracketed(treeText.mid(dot + 1));
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

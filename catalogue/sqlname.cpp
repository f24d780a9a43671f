#include "catalogue/sqlname.h"

namespace corvane {

QString quoteName(const QString& name)
{
    QString escaped = name;
    escaped.replace(u']', QStringLiteral("]]"));
    return u'[' + escaped + u']';
}

QString quoteTable(const QString& schema, const QString& table)
{
    if (schema.isEmpty())
        return quoteName(table);
    return quoteName(schema) + u'.' + quoteName(table);
}

} // namespace corvane

#include "discovery/typekind.h"

#include <QHash>

namespace corvane::discovery {

TypeKind KindOfType(const QString& typ)
{
    static const QHash<QString, TypeKind> kinds = {
        {QStringLiteral("char"), TypeKind::Text},
        {QStringLiteral("varchar"), TypeKind::Text},
        {QStringLiteral("nchar"), TypeKind::Text},
        {QStringLiteral("nvarchar"), TypeKind::Text},
        {QStringLiteral("text"), TypeKind::Text},
        {QStringLiteral("ntext"), TypeKind::Text},
        {QStringLiteral("sysname"), TypeKind::Text},
        {QStringLiteral("string"), TypeKind::Text},
        {QStringLiteral("date"), TypeKind::Date},
        {QStringLiteral("datetime"), TypeKind::Date},
        {QStringLiteral("datetime2"), TypeKind::Date},
        {QStringLiteral("smalldatetime"), TypeKind::Date},
        {QStringLiteral("datetimeoffset"), TypeKind::Date},
        {QStringLiteral("tinyint"), TypeKind::Integer},
        {QStringLiteral("smallint"), TypeKind::Integer},
        {QStringLiteral("int"), TypeKind::Integer},
        {QStringLiteral("integer"), TypeKind::Integer},
        {QStringLiteral("bigint"), TypeKind::Integer},
        {QStringLiteral("decimal"), TypeKind::Decimal},
        {QStringLiteral("numeric"), TypeKind::Decimal},
        {QStringLiteral("money"), TypeKind::Decimal},
        {QStringLiteral("smallmoney"), TypeKind::Decimal},
        {QStringLiteral("float"), TypeKind::Float},
        {QStringLiteral("real"), TypeKind::Float},
    };
    // The server reports type names in lower case; a case-insensitive
    // collation may still hand back user-defined spellings.
    const auto it = kinds.constFind(typ);
    if (it != kinds.cend())
        return *it;
    return kinds.value(typ.toLower(), TypeKind::Unusable);
}

int MaxLength(const TColumnRec& column)
{
    if (column.typ.compare(u"text", Qt::CaseInsensitive) == 0 ||
        column.typ.compare(u"ntext", Qt::CaseInsensitive) == 0)
        return -1;
    if (column.char_max.isEmpty())
        return 0;
    bool ok = false;
    const int length = column.char_max.toInt(&ok);
    return ok ? length : 0;
}

int DigitCapacity(const QString& typ)
{
    static const QHash<QString, int> digits = {
        {QStringLiteral("tinyint"), 3},     {QStringLiteral("smallint"), 5},
        {QStringLiteral("int"), 10},        {QStringLiteral("integer"), 10},
        {QStringLiteral("bigint"), 19},     {QStringLiteral("decimal"), 38},
        {QStringLiteral("numeric"), 38},    {QStringLiteral("money"), 15},
        {QStringLiteral("smallmoney"), 6},  {QStringLiteral("float"), 15},
        {QStringLiteral("real"), 7},
    };
    const auto it = digits.constFind(typ);
    return it != digits.cend() ? *it : digits.value(typ.toLower(), 0);
}

QString TypeText(const TColumnRec& column)
{
    if (column.char_max.isEmpty() || KindOfType(column.typ) != TypeKind::Text)
        return column.typ;
    if (column.char_max == u"-1")
        return column.typ + QStringLiteral("(max)");
    return column.typ + u'(' + column.char_max + u')';
}

} // namespace corvane::discovery

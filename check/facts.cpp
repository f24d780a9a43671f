#include "check/facts.h"

namespace corvane::check {

namespace {

bool isUnicodeText(const QString& type)
{
    return type == u"nvarchar" || type == u"nchar";
}

bool isSizedText(const QString& type)
{
    return type == u"varchar" || type == u"char" || type == u"varbinary" || type == u"binary" ||
           isUnicodeText(type);
}

constexpr FactGroup AllGroups[] = {FactGroup::Columns,         FactGroup::UniqueIndexes,
                                   FactGroup::ReferencingKeys, FactGroup::OwnKeys,
                                   FactGroup::Triggers,        FactGroup::RowCounts};

} // namespace

int ColumnFacts::characterLength() const
{
    if (type == u"text" || type == u"ntext" || type == u"image")
        return -1;
    if (!isSizedText(type))
        return 0;
    if (maxLength < 0)
        return -1;
    // sys.columns counts bytes; the Unicode types take two per character.
    return isUnicodeText(type) ? maxLength / 2 : maxLength;
}

QString ColumnFacts::declaredType() const
{
    if (isSizedText(type)) {
        const int length = characterLength();
        return type + u'(' + (length < 0 ? QStringLiteral("max") : QString::number(length)) + u')';
    }
    if (type == u"decimal" || type == u"numeric")
        return type + u'(' + QString::number(precision) + u',' + QString::number(scale) + u')';
    if (type == u"datetime2" || type == u"datetimeoffset" || type == u"time")
        return type + u'(' + QString::number(scale) + u')';
    if (type == u"timestamp")
        return QStringLiteral("rowversion");
    return type;
}

QString FactGroupName(FactGroup group)
{
    switch (group) {
    case FactGroup::Columns:
        return QStringLiteral("column properties");
    case FactGroup::UniqueIndexes:
        return QStringLiteral("unique indexes");
    case FactGroup::ReferencingKeys:
        return QStringLiteral("referencing foreign keys");
    case FactGroup::OwnKeys:
        return QStringLiteral("own foreign keys");
    case FactGroup::Triggers:
        return QStringLiteral("triggers");
    case FactGroup::RowCounts:
        return QStringLiteral("row count");
    }
    return {};
}

Facts Facts::unknown(const QString& reason)
{
    Facts facts;
    for (FactGroup group : AllGroups)
        facts.setUnknown(group, reason);
    return facts;
}

void Facts::setUnknown(FactGroup group, const QString& reason)
{
    m_unknown |= unsigned(group);
    if (!m_reason.contains(reason))
        m_reason = m_reason.isEmpty() ? reason : m_reason + u' ' + reason;
}

QStringList Facts::unknownNames() const
{
    QStringList names;
    for (FactGroup group : AllGroups)
        if (!known(group))
            names << FactGroupName(group);
    return names;
}

QString Facts::key(const QString& schema, const QString& table)
{
    // The schema's length first, so that no two pairs of names share a key.
    return QString::number(schema.size()) + u':' + schema + table;
}

TableFacts& Facts::table(const QString& schema, const QString& table)
{
    return m_tables[key(schema, table)];
}

const TableFacts* Facts::findTable(const QString& schema, const QString& table) const
{
    const auto it = m_tables.constFind(key(schema, table));
    return it == m_tables.cend() ? nullptr : &*it;
}

const ColumnFacts* Facts::findColumn(const QString& schema, const QString& table,
                                     const QString& column) const
{
    const TableFacts* t = findTable(schema, table);
    if (!t)
        return nullptr;
    const auto it = t->columns.constFind(column);
    return it == t->columns.cend() ? nullptr : &*it;
}

} // namespace corvane::check

#pragma once

#include <QString>
#include <QStringList>

namespace corvane::test {

// The schema query's result columns, in the order the server returns them.
inline const QStringList schemaFields = {
    QStringLiteral("tab"),       QStringLiteral("col"),       QStringLiteral("schema"),
    QStringLiteral("stab"),      QStringLiteral("FK_Column"), QStringLiteral("PK_Table"),
    QStringLiteral("PK_Column"), QStringLiteral("Constraint_Name"), QStringLiteral("PK"),
    QStringLiteral("isnull"),    QStringLiteral("typ"),       QStringLiteral("char_max")};

// One row of that result written as "tab|col|schema|stab|...|char_max".
inline QStringList row(const char* line)
{
    return QString::fromUtf8(line).split(u'|');
}

} // namespace corvane::test

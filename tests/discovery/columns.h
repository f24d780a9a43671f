#pragma once

#include "catalogue/consttypes.h"

namespace corvane::test {

// A column slot as the loader fills it, for the discovery tests.
inline TColumnRec discoveryColumn(const QString& schema, const QString& tab, const QString& name,
                                  const QString& typ, const QString& charMax = {})
{
    TColumnRec rec;
    rec.schema = schema;
    rec.tab = tab;
    rec.stab = schema + u'.' + tab;
    rec.col = name;
    rec.typ = typ;
    rec.char_max = charMax;
    rec.isnull = QStringLiteral("YES");
    rec.method = NoMethodYet;
    return rec;
}

} // namespace corvane::test

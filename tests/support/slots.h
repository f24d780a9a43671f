#pragma once

#include "catalogue/consttypes.h"

namespace corvane::test {

// A column slot with the fields that lists, files and runs look at.
inline TColumnRec column(const QString& stab, const QString& col, MethodCode method = NoMethodYet,
                         const QString& param1 = {}, const QString& param2 = {})
{
    TColumnRec rec;
    rec.stab = stab;
    rec.col = col;
    rec.method = method;
    rec.param1 = param1;
    rec.param2 = param2;
    return rec;
}

} // namespace corvane::test

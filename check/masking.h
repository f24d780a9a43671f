#pragma once

#include "catalogue/methods.h"

namespace corvane::check {

// What a slot's method does to its column, as far as the check cares; read
// from the one table of methods.
struct Masking
{
    const MethodInfo* info = nullptr; // null: the column is not masked
    MethodKind kind = MethodKind::Constant;
    TypeCategory family = tcOther;
    bool foreignKey = false;

    static Masking of(MethodCode code)
    {
        Masking m;
        m.info = methodInfo(code);
        if (m.info) {
            m.kind = m.info->kind;
            m.family = m.info->family;
            m.foreignKey = m.info->foreignKey;
        }
        return m;
    }

    bool masks() const { return info != nullptr; }
    // Every block but the single UPDATE ones walks the table with a cursor,
    // one statement per row.
    bool cursor() const
    {
        return masks() && kind != MethodKind::Constant && kind != MethodKind::Null;
    }
    // The key blocks of the integer, text and float families switch the
    // table's triggers off while they run; the date blocks do not.
    bool disablesTriggers() const { return foreignKey && family != tcDateTime; }
    // Every row gets the same value.
    bool sameValue() const
    {
        return kind == MethodKind::Constant || kind == MethodKind::SameLengthText ||
               kind == MethodKind::Null;
    }
    bool draws() const
    {
        return kind == MethodKind::Noise || kind == MethodKind::Interval ||
               kind == MethodKind::LoremIpsum || kind == MethodKind::WordList;
    }
};

} // namespace corvane::check

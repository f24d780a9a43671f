#pragma once

#include "catalogue/consttypes.h"

namespace corvane::check {

// What a method code does to its column, as far as the check cares.
struct MethodKind
{
    enum class Family { None, DateTime, Integer, Text, Float };
    enum class Action {
        None,
        Constant,       // one value for every row
        SameLengthText, // the operator's text, cut to each value's length
        Noise,          // the stored value moved by a random amount
        Random,         // a random value between two bounds
        Lorem,          // lorem ipsum of a random length between two bounds
        Shuffle,        // the column's own values in another order
        WordList,       // a random entry of a word list
        SetNull,
    };

    Family family = Family::None;
    Action action = Action::None;
    bool foreignKey = false; // draws only values that the referenced column holds

    bool masks() const { return action != Action::None; }
    // Every block but the single UPDATE ones walks the table with a cursor, one
    // statement per row.
    bool cursor() const { return masks() && action != Action::Constant && action != Action::SetNull; }
    // The key blocks of the integer, text and float families switch the
    // table's triggers off while they run; the date blocks do not.
    bool disablesTriggers() const { return foreignKey && family != Family::DateTime; }
    // Every row gets the same value.
    bool sameValue() const
    {
        return action == Action::Constant || action == Action::SameLengthText ||
               action == Action::SetNull;
    }
    bool draws() const
    {
        return action == Action::Noise || action == Action::Random || action == Action::Lorem ||
               action == Action::WordList;
    }
};

MethodKind KindOf(MethodCode code);

} // namespace corvane::check

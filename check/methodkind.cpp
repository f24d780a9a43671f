#include "check/methodkind.h"

namespace corvane::check {

using Action = MethodKind::Action;
using Family = MethodKind::Family;

MethodKind KindOf(MethodCode code)
{
    MethodKind kind;
    const int offset = code % 1000 % 100;
    if (code >= 1 && code <= 9)
        kind.family = Family::DateTime;
    else if (code >= 101 && code <= 109)
        kind.family = Family::Integer;
    else if (code >= 1001 && code <= 1009)
        kind.family = Family::Text;
    else if (code >= 2001 && code <= 2009)
        kind.family = Family::Float;
    else
        return kind;

    if (kind.family == Family::Text) {
        static constexpr Action text[] = {Action::None,     Action::Constant, Action::SameLengthText,
                                          Action::Lorem,    Action::Shuffle,  Action::Constant,
                                          Action::None,     Action::WordList, Action::Shuffle,
                                          Action::SetNull};
        kind.action = text[offset];
        kind.foreignKey = offset == 5 || offset == 8;
        return kind;
    }
    if (offset == 9) {
        kind.action = Action::SetNull;
        return kind;
    }
    // Dates put the shuffle before the random interval; numbers the other way.
    static constexpr Action dates[] = {Action::Constant, Action::Noise, Action::Shuffle,
                                       Action::Random};
    static constexpr Action numbers[] = {Action::Constant, Action::Noise, Action::Random,
                                         Action::Shuffle};
    const int plain = (offset - 1) % 4;
    kind.action = kind.family == Family::DateTime ? dates[plain] : numbers[plain];
    kind.foreignKey = offset >= 5;
    return kind;
}

} // namespace corvane::check

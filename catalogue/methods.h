#pragma once

#include "catalogue/consttypes.h"

#include <QString>

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>

// Every masking method, once: its code as stored in slots and project files,
// its family, what it does, its display name and what its parameters hold.
// The editor, the generator and the list page all derive from this table.
namespace corvane {

enum class MethodKind : std::uint8_t {
    Constant,       // one value for every row
    Noise,          // the value moved by up to a range
    Interval,       // a value drawn from a range
    Shuffle,        // the column's own values, exchanged between rows
    Null,           // NULL in every row
    SameLengthText, // a user text repeated and cut to each value's length
    LoremIpsum,     // lorem ipsum of a length drawn from a range
    WordList,       // a value drawn from a word-list file
};

// What a parameter holds and how it is read.
enum class ParamKind : std::uint8_t {
    Unused,
    Number,        // an integer as typed: digits, perhaps a leading '-'
    DecimalNumber, // digits, '-' and '.', the '.' always the decimal separator
    Date,          // a day, as the editor writes dates
    Text,          // any text
    WordListName,  // the name of a word list (a file name without its extension)
};

struct MethodInfo
{
    MethodCode code;
    TypeCategory family;
    MethodKind kind;
    bool foreignKey; // the variant that keeps values inside the referenced key's set
    std::u16string_view name;
    ParamKind param1;
    ParamKind param2;

    QString displayName() const { return QString::fromUtf16(name.data(), qsizetype(name.size())); }
};

// Sorted by code. The date-time family has shuffle before the interval, the
// other families the other way round; the text family has no code 1006; the
// foreign-key variants are their plain method's code plus 4. Some display
// names carry odd blanks: they are shown and compared as they stand.
inline constexpr std::array<MethodInfo, 35> Methods = {{
    // clang-format off
    {1,    tcDateTime, MethodKind::Constant, false, u"Constant value datetime",                    ParamKind::Date,          ParamKind::Unused},
    {2,    tcDateTime, MethodKind::Noise,    false, u"Noise interval datetime",                    ParamKind::Number,        ParamKind::Unused},
    {3,    tcDateTime, MethodKind::Shuffle,  false, u"Shuffle datetime",                           ParamKind::Unused,        ParamKind::Unused},
    {4,    tcDateTime, MethodKind::Interval, false, u"Random  interval datetime",                  ParamKind::Date,          ParamKind::Date},
    {5,    tcDateTime, MethodKind::Constant, true,  u"Constant value datetime Foreign Key",        ParamKind::Date,          ParamKind::Unused},
    {6,    tcDateTime, MethodKind::Noise,    true,  u"Noise interval datetime Foreign Key",        ParamKind::Number,        ParamKind::Unused},
    {7,    tcDateTime, MethodKind::Shuffle,  true,  u"Shuffle datetime Foreign Key",               ParamKind::Unused,        ParamKind::Unused},
    {8,    tcDateTime, MethodKind::Interval, true,  u"Random interval datetime Foreign Key",       ParamKind::Date,          ParamKind::Date},
    {9,    tcDateTime, MethodKind::Null,     false, u"NULL datetime",                              ParamKind::Unused,        ParamKind::Unused},
    {101,  tcInteger,  MethodKind::Constant, false, u"Constant value integer",                     ParamKind::Number,        ParamKind::Unused},
    {102,  tcInteger,  MethodKind::Noise,    false, u"Noise interval integer",                     ParamKind::Number,        ParamKind::Unused},
    {103,  tcInteger,  MethodKind::Interval, false, u"Random interval integer",                    ParamKind::Number,        ParamKind::Number},
    {104,  tcInteger,  MethodKind::Shuffle,  false, u"Shuffle integer",                            ParamKind::Unused,        ParamKind::Unused},
    {105,  tcInteger,  MethodKind::Constant, true,  u"Constant value integer Foreign Key",         ParamKind::Number,        ParamKind::Unused},
    {106,  tcInteger,  MethodKind::Noise,    true,  u"Noise interval integer Foreign Key",         ParamKind::Number,        ParamKind::Unused},
    {107,  tcInteger,  MethodKind::Interval, true,  u"Random interval integer Foreign Key",        ParamKind::Number,        ParamKind::Number},
    {108,  tcInteger,  MethodKind::Shuffle,  true,  u"Shuffle integer Foreign Key",                ParamKind::Unused,        ParamKind::Unused},
    {109,  tcInteger,  MethodKind::Null,     false, u"NULL integer",                               ParamKind::Unused,        ParamKind::Unused},
    {1001, tcVarchar,  MethodKind::Constant, false, u"Constant value varchar",                     ParamKind::Text,          ParamKind::Unused},
    {1002, tcVarchar,  MethodKind::SameLengthText, false, u"User defined text with same length varchar", ParamKind::Text,    ParamKind::Unused},
    {1003, tcVarchar,  MethodKind::LoremIpsum, false, u"Lorem Ipsum random length interval varchar", ParamKind::Number,    ParamKind::Number},
    {1004, tcVarchar,  MethodKind::Shuffle,  false, u"Shuffle varchar",                            ParamKind::Unused,        ParamKind::Unused},
    {1005, tcVarchar,  MethodKind::Constant, true,  u"Constant value varchar Foreign Key",         ParamKind::Text,          ParamKind::Unused},
    {1007, tcVarchar,  MethodKind::WordList, false, u"Virtual data",                               ParamKind::WordListName,  ParamKind::Unused},
    {1008, tcVarchar,  MethodKind::Shuffle,  true,  u"Shuffle varchar Foreign Key",                ParamKind::Unused,        ParamKind::Unused},
    {1009, tcVarchar,  MethodKind::Null,     false, u"NULL varchar",                               ParamKind::Unused,        ParamKind::Unused},
    {2001, tcFloat,    MethodKind::Constant, false, u"Constant value float",                       ParamKind::DecimalNumber, ParamKind::Unused},
    {2002, tcFloat,    MethodKind::Noise,    false, u"Noise interval float",                       ParamKind::DecimalNumber, ParamKind::Number},
    {2003, tcFloat,    MethodKind::Interval, false, u"Random interval float",                      ParamKind::DecimalNumber, ParamKind::DecimalNumber},
    {2004, tcFloat,    MethodKind::Shuffle,  false, u"Shuffle float",                              ParamKind::Unused,        ParamKind::Unused},
    {2005, tcFloat,    MethodKind::Constant, true,  u"Constant value float Foreign Key",           ParamKind::DecimalNumber, ParamKind::Unused},
    {2006, tcFloat,    MethodKind::Noise,    true,  u"Noise interval float Foreign Key",           ParamKind::DecimalNumber, ParamKind::Number},
    {2007, tcFloat,    MethodKind::Interval, true,  u"Random interval float Foreign Key ",         ParamKind::DecimalNumber, ParamKind::DecimalNumber},
    {2008, tcFloat,    MethodKind::Shuffle,  true,  u"Shuffle float Foreign Key",                  ParamKind::Unused,        ParamKind::Unused},
    {2009, tcFloat,    MethodKind::Null,     false, u"NULL float",                                 ParamKind::Unused,        ParamKind::Unused},
    // clang-format on
}};

// The families that have methods, in the order of their codes.
inline constexpr std::array<TypeCategory, 4> MethodFamilies = {tcDateTime, tcInteger, tcVarchar,
                                                               tcFloat};

// The family whose methods a column of type family `family` is given: a type
// in no family is edited as text.
constexpr TypeCategory methodFamily(TypeCategory family)
{
    return family == tcOther ? tcVarchar : family;
}

// The family's "No mask" code, the base of its codes: 0, 100, 1000, 2000.
constexpr MethodCode noMaskCode(TypeCategory family)
{
    switch (methodFamily(family)) {
    case tcDateTime: return 0;
    case tcInteger: return 100;
    case tcFloat: return 2000;
    default: return 1000;
    }
}

// The family whose "No mask" code `code` is; none for every other code
// (NoMethodYet included).
constexpr std::optional<TypeCategory> noMaskFamily(MethodCode code)
{
    for (const TypeCategory family : MethodFamilies)
        if (noMaskCode(family) == code)
            return family;
    return std::nullopt;
}

// The method of `code`; nullptr for the "No mask" codes and for codes that
// name no method (a project file may hold any number).
constexpr const MethodInfo* methodInfo(MethodCode code)
{
    const auto* found = std::lower_bound(Methods.begin(), Methods.end(), code,
                                         [](const MethodInfo& m, MethodCode c) { return m.code < c; });
    return found != Methods.end() && found->code == code ? found : nullptr;
}

// Whether the code masks the column: the generator writes a block for it.
constexpr bool hasBlock(MethodCode code)
{
    return methodInfo(code) != nullptr;
}

// The method of `kind` in `family`: its foreign-key variant when `foreignKey`
// is set and the method has one, else the plain method. nullptr when the
// family has no such method.
constexpr const MethodInfo* findMethod(TypeCategory family, MethodKind kind, bool foreignKey = false)
{
    const MethodInfo* plain = nullptr;
    for (const MethodInfo& m : Methods) {
        if (m.family != family || m.kind != kind)
            continue;
        if (m.foreignKey == foreignKey)
            return &m;
        if (!m.foreignKey)
            plain = &m;
    }
    return plain;
}

// A date interval keeps its end exclusive: the second parameter is the day
// after the last day the operator chose.
constexpr bool isExclusiveEndDate(const MethodInfo& method, int param)
{
    return method.kind == MethodKind::Interval && param == 2 && method.param2 == ParamKind::Date;
}

} // namespace corvane

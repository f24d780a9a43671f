#include "catalogue/methods.h"

// The table's own rules, checked when it is compiled: a wrong row fails the
// build instead of a column.
namespace corvane {

namespace {

constexpr bool sortedAndUnique()
{
    for (std::size_t i = 1; i < Methods.size(); ++i)
        if (Methods[i - 1].code >= Methods[i].code)
            return false;
    return true;
}

// Each code lies in its family's ten, above the family's "No mask" code.
constexpr bool codesInTheirFamily()
{
    for (const MethodInfo& m : Methods) {
        const MethodCode offset = m.code - noMaskCode(m.family);
        if (offset < 1 || offset > 9)
            return false;
    }
    return true;
}

// A foreign-key variant is its plain method's code plus 4, with the same
// parameters; no code is both a method and a "No mask" code.
constexpr bool variantsMatchTheirMethod()
{
    for (const MethodInfo& m : Methods) {
        if (noMaskFamily(m.code))
            return false;
        if (!m.foreignKey)
            continue;
        const MethodInfo* plain = methodInfo(m.code - 4);
        if (!plain || plain->foreignKey || plain->family != m.family || plain->kind != m.kind
            || plain->param1 != m.param1 || plain->param2 != m.param2)
            return false;
    }
    return true;
}

// One method of each kind per family and variant, so that a kind names one code.
constexpr bool kindsUnique()
{
    for (const MethodInfo& m : Methods)
        if (findMethod(m.family, m.kind, m.foreignKey) != &m)
            return false;
    return true;
}

static_assert(sortedAndUnique());
static_assert(codesInTheirFamily());
static_assert(variantsMatchTheirMethod());
static_assert(kindsUnique());

} // namespace

} // namespace corvane

#include "catalogue/choices.h"

#include "catalogue/methods.h"

#include <QHash>

#include <utility>

namespace corvane {

namespace {

bool isColumnSlot(const TColumnRec& slot)
{
    return !slot.col.isEmpty();
}

// A method of another family would write values of the wrong type, a
// foreign-key variant on a plain column would look for a key that is not there.
bool suits(MethodCode code, const TColumnRec& column)
{
    const TypeCategory family = methodFamily(GetTypeCategory(column.typ));
    if (const std::optional<TypeCategory> noMask = noMaskFamily(code))
        return *noMask == family;
    if (const MethodInfo* method = methodInfo(code))
        return method->family == family && (!method->foreignKey || column.isForeignKey());
    // A code that names no method masks nothing, whatever the column.
    return true;
}

} // namespace

bool IsColumn(const TColumnRec& slot, const QString& table, const QString& column)
{
    return slot.stab == table && slot.col == column;
}

CarriedChoices CarryChoices(const TData& from, TData& to)
{
    CarriedChoices result;
    result.sameColumns = from.size() == to.size();
    QVector<bool> taken(from.size(), false);
    // Built only when the columns are not where they were: a new login to the
    // same database finds every column in its old slot.
    QHash<std::pair<QString, QString>, qsizetype> byName;

    for (qsizetype i = 0; i < to.size(); ++i) {
        TColumnRec& column = to[i];
        qsizetype source = -1;
        if (i < from.size() && IsColumn(from.at(i), column.stab, column.col)) {
            source = i;
        } else {
            result.sameColumns = false;
            if (byName.isEmpty())
                for (qsizetype f = 0; f < from.size(); ++f)
                    if (isColumnSlot(from.at(f)))
                        byName.insert({from.at(f).stab, from.at(f).col}, f);
            source = byName.value({column.stab, column.col}, -1);
        }
        if (source < 0 || !isColumnSlot(column))
            continue;
        const TColumnRec& choice = from.at(source);
        if (choice.method == NoMethodYet || !suits(choice.method, column))
            continue;
        column.method = choice.method;
        column.param1 = choice.param1;
        column.param2 = choice.param2;
        taken[source] = true;
        ++result.kept;
    }
    for (qsizetype f = 0; f < from.size(); ++f)
        if (!taken.at(f) && isColumnSlot(from.at(f)) && hasBlock(from.at(f).method))
            ++result.lost;
    return result;
}

} // namespace corvane

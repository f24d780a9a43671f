#pragma once

#include "catalogue/consttypes.h"

namespace corvane {

// Whether `slot` is the column `column` of the table `table` (schema, dot,
// table). Names compare exactly, case included: this alone decides which slot
// a project file's line or a column of a new login belongs to.
bool IsColumn(const TColumnRec& slot, const QString& table, const QString& column);

// What carrying the choices of one catalogue over to another did.
struct CarriedChoices
{
    int kept = 0; // columns of the new catalogue that took a choice
    int lost = 0; // masked columns of the old catalogue whose choice found no column
    // Both catalogues hold the same columns in the same slots: whatever a
    // project file of the one holds loads into the other unchanged.
    bool sameColumns = false;
};

// Gives each column of `to` the method and parameters of the column of `from`
// with the same table and column name, where that method suits it (a method
// of the column type's family; a foreign-key variant only on a foreign key).
// The other slots of `to` keep what they hold.
CarriedChoices CarryChoices(const TData& from, TData& to);

} // namespace corvane

#pragma once

#include "catalogue/consttypes.h"

#include <QString>

namespace corvane {

// The first slot of the table whose tree text is `treeText`, or null. The
// schema and table names come from there: a tree text cannot be split back
// into them when either name holds a dot.
const TColumnRec* TableSlot(const TData& catalogue, const QString& treeText);

QString PreviewQuery(const TColumnRec& table);  // select * from [schema].[table]
QString RowCountQuery(const TColumnRec& table); // select count_big(*) from ...

} // namespace corvane

#pragma once

#include <QString>

namespace corvane {

// The bracketed name of a tree table text "schema.table", split at the first
// dot, with every ']' inside a name doubled: "[dbo].[Order]]s]". A text
// without a dot is one name.
QString QuotedTableName(const QString& treeText);

QString PreviewQuery(const QString& treeText);    // select * from ...
QString RowCountQuery(const QString& treeText);   // select count_big(*) from ...

} // namespace corvane

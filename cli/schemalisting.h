#pragma once

#include "catalogue/consttypes.h"

#include <QString>

namespace corvane::cli {

// The catalogue as text, one line per slot from slot 1 (the database node has
// none): a table slot gives "index TAB table", a column slot the ten fields
// index, table, column, type, nullable, maximum length, primary key, and the
// referenced table, column and constraint, TAB-separated. Lines end in LF.
QString SchemaListing(const TData& catalogue);

// A field of a TAB-separated line. Names may hold any character; a TAB, line
// break or backslash would break the line and field structure, so they are
// written as \t, \n, \r and \\, which a reader can undo.
QString EscapedField(const QString& text);

} // namespace corvane::cli

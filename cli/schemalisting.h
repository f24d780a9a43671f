#pragma once

#include "catalogue/consttypes.h"

#include <QString>

namespace corvane::cli {

// The catalogue as text, one line per slot from slot 1 (the database node has
// none): a table slot gives "index TAB table", a column slot the ten fields
// index, table, column, type, nullable, maximum length, primary key, and the
// referenced table, column and constraint, TAB-separated. Lines end in LF.
QString SchemaListing(const TData& catalogue);

// A name or text as one field of such a line: TAB, CR, LF and backslash
// written as \t, \r, \n and \\.
QString EscapeField(const QString& text);

} // namespace corvane::cli

#pragma once

#include <QString>

// Names as they go into T-SQL: always delimited, never pasted bare.
namespace corvane {

// A bracketed identifier with every ']' inside it doubled: "[Order]]s]".
QString quoteName(const QString& name);

// A two-part name "[schema].[table]"; an empty schema gives the table alone.
QString quoteTable(const QString& schema, const QString& table);

} // namespace corvane

#pragma once

#include "catalogue/consttypes.h"
#include "base/result.h"
#include "catalogue/schematree.h"
#include "db/connection.h"

namespace corvane {

// Opens `connection` with `connectionString` (it stays open), runs the schema
// query and builds the tree and the catalogue in one pass, so that every
// column node's absolute index is the index of its slot. On failure the tree
// is empty and the catalogue is left as it was.
Status LoadCatalogue(db::Connection& connection, const QString& connectionString,
                     TData& catalogue, SchemaTree& tree);

// The walk alone, over rows as the schema query returns them.
void BuildCatalogue(const QString& databaseName, const db::Rows& rows, TData& catalogue,
                    SchemaTree& tree);

} // namespace corvane

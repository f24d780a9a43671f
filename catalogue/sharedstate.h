#pragma once

#include "catalogue/consttypes.h"
#include "db/connection.h"

#include <QString>

#include <cstdint>

namespace corvane {

// The run's shared state, owned by the main window and handed to the pages by
// reference, so that every page reads the values of the moment it uses them.
struct SharedState
{
    TData ColumnCatalogue;
    QString ConnectionString;   // of the last confirmed login; empty while a login runs
    std::int32_t RandomSeed = DefaultSeed;
    QString CurrentTable;       // text of the current table node, or empty
    // The connection string that the current catalogue was read with. A cancelled
    // login empties ConnectionString but keeps the catalogue, and work on the
    // catalogue must still go to the database it came from.
    QString CatalogueConnectionString;

    // Makes the connections that the pages open for themselves.
    db::ConnectionFactory connect;
};

} // namespace corvane

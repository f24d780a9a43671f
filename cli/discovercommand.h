#pragma once

#include "catalogue/consttypes.h"
#include "cli/options.h"
#include "db/connection.h"
#include "discovery/discovery.h"

namespace corvane::cli {

// What `discover` and `template --suggest` look at: the tables that --tables
// names (every table without it), the server's sensitivity labels, and with
// --sample the values of up to that many rows of each of those tables.
// `connection` may be null: then names and types alone. A --tables pattern
// that names no table is an error.
Result<discovery::DiscoveryReport> DiscoverCatalogue(const TData& catalogue,
                                                     db::Connection* connection,
                                                     const Options& options);

// One line per finding, TAB-separated: table, column, category, confidence,
// evidence, suggested code, param1, param2. Lines end in LF.
QString FindingsListing(const TData& catalogue, const QVector<discovery::Finding>& findings);

// Gives every finding's slot its suggested method; returns the word lists the
// suggestions name.
QStringList FillSuggestions(TData& catalogue, const QVector<discovery::Finding>& findings);

} // namespace corvane::cli

#pragma once

#include "base/result.h"
#include "check/facts.h"
#include "db/connection.h"

namespace corvane::check {

// The column-facts query: one row per column of every user table. Each group
// in `unknown` (a FactGroup mask) is replaced by NULLs of the same result
// columns, so that a login that may not read its views still gets the rest.
QString FactsQuery(unsigned unknown = 0);

// Reads the facts on an open connection in one round trip. When the server
// denies a catalogue view (error 229), the groups that read it are marked
// unknown and the query is sent again without them. Fails only when the
// columns themselves cannot be read or the connection fails; the caller then
// goes on with Facts::unknown().
Result<Facts> LoadFacts(db::Connection& connection);

// The facts as a login reads them: what cannot be read is left unknown with
// the server's reason, so that the check says so and the login goes on.
Facts ReadFacts(db::Connection& connection);

// The walk alone, over rows as the facts query returns them.
Facts BuildFacts(const db::Rows& rows, unsigned unknown = 0, const QString& reason = {});

} // namespace corvane::check

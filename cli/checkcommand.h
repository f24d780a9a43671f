#pragma once

#include "check/facts.h"
#include "check/rules.h"

#include <QString>

#include <optional>

namespace corvane::cli {

// The check of a loaded project with the word lists under the current
// working directory.
check::Findings CheckProject(const TData& catalogue, const check::Facts& facts);

// One line per finding: level, table, column, method code, rule and message,
// TAB-separated, each ending in LF.
QString CheckListing(const check::Findings& findings);

// The exit status of `check`: 0 nothing found, 1 warnings only, 2 errors.
int CheckExitStatus(const check::Findings& findings);

// Why `run` does not start: set when the findings hold errors and the run
// was not forced.
std::optional<QString> RunRefusal(const check::Findings& findings, bool force);

} // namespace corvane::cli

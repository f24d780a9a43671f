#pragma once

#include "catalogue/consttypes.h"
#include "base/result.h"

#include <QString>

#include <cstdint>

namespace corvane::run {

// Installs the table-valued function dbo.corvane_split that the word-list
// blocks call, unless a table-valued function of that name exists already.
QString SplitInstallationBatch();
// Removes it again at the end of a complete run.
QString SplitDropBatch();

// The batch of one slot: the preamble with `seed`, directly followed by the
// slot's block, nothing after it. Empty when the code has no block.
Result<QString> BuildBatch(const TColumnRec& slot, std::int32_t seed);

// The log lines of one column.
QString SuccessLine(const TColumnRec& slot);
QString FailedLine(const TColumnRec& slot);
// The server's reason for a failed column, on one indented line.
QString ReasonLine(const Error& error);

} // namespace corvane::run

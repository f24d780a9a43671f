#pragma once

#include "catalogue/consttypes.h"
#include "base/result.h"
#include "db/connection.h"
#include "script/generator.h"

#include <QString>

#include <cstdint>

namespace corvane::run {

// Installs the table-valued function dbo.corvane_split that the word-list
// blocks call, unless a table-valued function of that name exists already.
QString SplitInstallationBatch();
// Removes it again at the end of a complete run.
QString SplitDropBatch();

// The batch of one slot: the preamble with `seed`, directly followed by the
// slot's block, nothing after it. Empty when the code has no block. The
// slot's word list is read from the working directory; the cursor is not
// keyset-driven.
Result<QString> BuildBatch(const TColumnRec& slot, std::int32_t seed);

// The batches of one run: the word lists that the catalogue names are read,
// and the tables with a primary key found, once when the run starts.
class RunBatches
{
public:
    RunBatches(const TData& catalogue, std::int32_t seed);

    // The batch of the slot at `index`, as BuildBatch() gives it.
    Result<QString> batch(qsizetype index) const;

private:
    const TData& m_catalogue;
    std::int32_t m_seed;
    script::WordLists m_words;
    QList<bool> m_keyed;
};

// Sends one column's batch. The result is the number of rows whose
// foreign-key draw found no key (0 for the other codes); on an error any
// transaction the batch left open is rolled back.
Result<int> ExecuteBatch(db::Connection& connection, const QString& batch, MethodCode code);

// The log lines of one column.
QString SuccessLine(const TColumnRec& slot);
QString FailedLine(const TColumnRec& slot);
// The server's reason for a failed column, on one indented line.
QString ReasonLine(const Error& error);
// The rows of a column that kept their values, on one indented line.
QString MissLine(int misses);

} // namespace corvane::run

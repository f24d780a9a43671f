#pragma once

#include "catalogue/consttypes.h"
#include "base/result.h"

#include <QHash>
#include <QList>
#include <QString>

#include <cstdint>
#include <optional>

namespace corvane::script {

// The script's preamble: seeds the server's random sequence, declares the
// working variables of every block and sets the session options they rely on.
QString BuildPreamble(std::int32_t seed);

// Whether the method code has a statement block, i.e. the column is masked.
bool HasBlock(MethodCode code);

// Whether the code's block counts the rows whose foreign-key draw found no key.
bool CountsMisses(MethodCode code);

// Where a block runs: the saved script is one batch that reports a failing
// column and goes on; a run sends each block as a batch of its own, which
// raises the server's error.
enum class Target { Script, Run };

// The first line of each word list by name, or why it could not be read.
using WordLists = QHash<QString, Result<QString>>;

// Reads every word list that a code 1007 slot of `catalogue` names, once each,
// under the current working directory.
WordLists ReadWordLists(const TData& catalogue);

struct BlockOptions
{
    Target target = Target::Script;
    bool keyset = false;              // the slot's table has a primary key
    const WordLists* words = nullptr; // code 1007 fails on a list not in it
};

// Per slot index: whether the slot's table has a primary key.
QList<bool> KeyedSlots(const TData& catalogue);

// The statement block of one slot, chosen by its method code alone; empty for
// codes without a block. Fails on a parameter that does not read as its date
// or number, on an empty same-length text, and on a word list that is
// missing (a notice) or unreadable.
Result<QString> BuildBlock(const TColumnRec& slot, const BlockOptions& options);
// As above for the script, the slot's word list read from the working
// directory, the cursor not keyset-driven.
Result<QString> BuildBlock(const TColumnRec& slot);

struct Generation
{
    QString script;              // what was generated up to the end or the failure
    std::optional<Error> error;  // set when the generation ended early
};

// The whole script: the preamble once, then each slot's block followed by two
// CR LF, in slot order from slot 1. Empty when no slot has a block. Reads
// nothing: the word lists come in `words`.
Generation GenerateScript(const TData& catalogue, std::int32_t seed, const WordLists& words);
// As above, with the word lists read first.
Generation GenerateScript(const TData& catalogue, std::int32_t seed);

} // namespace corvane::script

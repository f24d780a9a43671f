#pragma once

#include "catalogue/consttypes.h"
#include "base/result.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace corvane::script {

// The script's preamble: seeds the server's random sequence and declares the
// working variables of every block.
QString BuildPreamble(std::int32_t seed);

// Whether the method code has a statement block, i.e. the column is masked.
bool HasBlock(MethodCode code);

// The statement block of one slot, chosen by its method code alone; empty for
// codes without a block. Fails on a date parameter that does not read as a
// date, and on a word list that is missing (a notice) or unreadable. Word
// lists are looked up under the current working directory.
Result<QString> BuildBlock(const TColumnRec& slot);

struct Generation
{
    QString script;              // what was generated up to the end or the failure
    std::optional<Error> error;  // set when the generation ended early
};

// The whole script: the preamble once, then each slot's block followed by two
// CR LF, in slot order from slot 1. Empty when no slot has a block.
Generation GenerateScript(const TData& catalogue, std::int32_t seed);

} // namespace corvane::script

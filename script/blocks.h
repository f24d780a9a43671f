#pragma once

#include "catalogue/consttypes.h"
#include "base/result.h"
#include "script/generator.h"

#include <QString>

// One builder per kind of column. Each appends the block of the slot's code
// to `out`, or nothing for a code that is not its own or has no block. On a
// failure nothing is appended.
namespace corvane::script {

Status appendDateTimeBlock(QString& out, const TColumnRec& slot, const BlockOptions& options);
// The integer and the float codes: the same nine blocks over other variables.
Status appendNumericBlock(QString& out, const TColumnRec& slot, const BlockOptions& options);
// The word list of code 1007 comes from options.words.
Status appendTextBlock(QString& out, const TColumnRec& slot, const BlockOptions& options);

} // namespace corvane::script

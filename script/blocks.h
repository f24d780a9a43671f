#pragma once

#include "catalogue/consttypes.h"
#include "base/result.h"

#include <QString>

// One builder per type family. Each appends the block of the slot's code to
// `out`, or nothing for a code that is not its family's or has no block. On a
// failure nothing is appended.
namespace corvane::script {

Status appendDateTimeBlock(QString& out, const TColumnRec& slot);
void appendIntegerBlock(QString& out, const TColumnRec& slot);
// Reads the word list of code 1007 under the current working directory.
Status appendTextBlock(QString& out, const TColumnRec& slot);
void appendFloatBlock(QString& out, const TColumnRec& slot);

} // namespace corvane::script

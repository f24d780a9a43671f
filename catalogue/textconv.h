#pragma once

#include "base/result.h"

#include <QDate>
#include <QString>

#include <cstdint>

namespace corvane {

// Whole-text conversion to a signed 32-bit integer: optional leading blanks,
// an optional sign and decimal digits, nothing else. Fails with
// "'<text>' is not a valid integer value".
Result<std::int32_t> StrToInt(const QString& text);

// The operator's short date format (the default locale's), always with a
// four-digit year: locales whose short format has a two-digit year would
// otherwise turn 2030 into 1930 on the way back.
QString ShortDateFormat();

// A date as the method editor stores it and the pickers show it.
QString DateToText(const QDate& date);

// Reads a date written in ShortDateFormat(). Fails with
// "'<text>' is not a valid date".
Result<QDate> TextToDate(const QString& text);

} // namespace corvane

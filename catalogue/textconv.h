#pragma once

#include "base/result.h"
#include "catalogue/consttypes.h"

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

// Reads a date written in ShortDateFormat() or as yyyy-MM-dd. Fails with
// "'<text>' is not a valid date".
Result<QDate> TextToDate(const QString& text);

// Where a slot's value came from, for messages about it:
// "table dbo.Person, column Birthdate".
QString ColumnPlace(const TColumnRec& slot);

// `error` with the slot's table and column added to its message.
Error AtColumn(const TColumnRec& slot, Error error);

// TextToDate for a parameter of `slot`; the message names its table and column:
// "'8 Dec 1950' is not a valid date (table dbo.Person, column Birthdate)".
Result<QDate> ParamToDate(const TColumnRec& slot, const QString& text);

// Dates as project files hold them, whatever the operator's locale: yyyy-MM-dd.
QString DateToFileText(const QDate& date);
// A file date back into the form the slots hold (DateToText). Texts that are not
// yyyy-MM-dd come back unchanged: files written before dates were stored this
// way hold the short format of the locale they were saved under.
QString FileTextToParam(const QString& text);

} // namespace corvane

#pragma once

#include "catalogue/consttypes.h"

namespace corvane::discovery {

// What a column's server type can hold, as far as personal data goes.
enum class TypeKind {
    Text,     // char, varchar, nchar, nvarchar, text, ntext, sysname
    Date,     // date, datetime, datetime2, smalldatetime, datetimeoffset
    Integer,  // tinyint, smallint, int, bigint
    Decimal,  // decimal, numeric, money, smallmoney
    Float,    // float, real
    Unusable, // bit, binary, uniqueidentifier, xml, spatial, time, ...
};

TypeKind KindOfType(const QString& typ);

// The column's maximum length in characters: -1 for the max types and for
// text/ntext, 0 when the type has none or the text is not a number.
int MaxLength(const TColumnRec& column);

// How many decimal digits the type can hold at most (0 when it holds none or
// the count is not known from the name alone).
int DigitCapacity(const QString& typ);

// "nvarchar(50)", "nvarchar(max)", "int": the type as an operator reads it.
QString TypeText(const TColumnRec& column);

} // namespace corvane::discovery

#pragma once

#include "catalogue/consttypes.h"
#include "base/result.h"

#include <QString>

// Method parameters that are numbers, read as numbers before they go into
// T-SQL: digits in the C locale with an optional leading minus, a decimal
// point only where the method takes decimals. What goes into the text is the
// number as read, a negative one in parentheses, so that no parameter can
// form a comment or a statement of its own.
namespace corvane::script {

enum class NumberKind { Whole, Decimal };

struct SqlNumber
{
    QString text;       // the literal as written into T-SQL: "12", "(-3)", "0.5"
    QString magnitude;  // the digits without the sign: "3" for -3
    bool negative = false;
    qint64 whole = 0;   // the value of a whole number
    double value = 0;   // the value, for comparing
};

// Reads `value`, the parameter of `slot`; blanks around it are ignored. A value
// that is no number of that kind is an error that names the table, the column
// and the value.
Result<SqlNumber> ReadNumber(const TColumnRec& slot, const QString& value, NumberKind kind);

// The slot's numeric parameters, read as the method table says they are
// (whole or decimal); a parameter that is no number is left empty.
struct SlotNumbers
{
    SqlNumber first;
    SqlNumber second;
};
Result<SlotNumbers> ReadNumbers(const TColumnRec& slot);

// `base` moved by a whole `offset`: "@v+3", "@v-3", "@v" for 0.
QString withOffset(const QString& base, qint64 offset);

} // namespace corvane::script

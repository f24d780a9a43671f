#include "script/sqlnumber.h"

#include "catalogue/methods.h"

#include <limits>

namespace corvane::script {

namespace {

// T-SQL reads at most 38 digits as an exact numeric literal.
constexpr qsizetype MaxDigits = 38;

bool isDigits(QStringView text)
{
    if (text.isEmpty())
        return false;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

// Whole: digits. Decimal: digits with at most one point and a digit on at
// least one side of it.
bool isNumber(QStringView digits, NumberKind kind)
{
    const qsizetype point = digits.indexOf(u'.');
    if (point < 0)
        return isDigits(digits) && digits.size() <= MaxDigits;
    if (kind == NumberKind::Whole)
        return false;
    const QStringView before = digits.left(point);
    const QStringView after = digits.mid(point + 1);
    if (before.isEmpty() && after.isEmpty())
        return false;
    return (before.isEmpty() || isDigits(before)) && (after.isEmpty() || isDigits(after)) &&
           digits.size() - 1 <= MaxDigits;
}

} // namespace

Result<SqlNumber> ReadNumber(const TColumnRec& slot, const QString& value, NumberKind kind)
{
    const QString trimmed = value.trimmed();
    SqlNumber number;
    number.negative = trimmed.startsWith(u'-');
    number.magnitude = number.negative ? trimmed.mid(1) : trimmed;
    bool fits = true;
    if (kind == NumberKind::Whole && isNumber(number.magnitude, kind)) {
        // Whole parameters are counts, widths and bounds of bigint draws.
        number.whole = trimmed.toLongLong(&fits);
        fits = fits && number.whole != std::numeric_limits<qint64>::min();
    }
    if (!isNumber(number.magnitude, kind) || !fits)
        return Error::failure(QStringLiteral("'") + value +
                              QStringLiteral("' is not a valid number for column [") + slot.col +
                              QStringLiteral("] of table ") + slot.stab);
    number.value = trimmed.toDouble();
    number.text = number.negative ? u'(' + trimmed + u')' : trimmed;
    return number;
}

Result<SlotNumbers> ReadNumbers(const TColumnRec& slot)
{
    SlotNumbers numbers;
    const MethodInfo* method = methodInfo(slot.method);
    if (!method)
        return numbers;
    const auto read = [&](ParamKind kind, const QString& value, SqlNumber& into) -> Status {
        if (kind != ParamKind::Number && kind != ParamKind::DecimalNumber)
            return {};
        auto number = ReadNumber(slot, value,
                                 kind == ParamKind::Number ? NumberKind::Whole : NumberKind::Decimal);
        if (!number)
            return number.error();
        into = *number;
        return {};
    };
    if (Status first = read(method->param1, slot.param1, numbers.first); !first)
        return first.error();
    if (Status second = read(method->param2, slot.param2, numbers.second); !second)
        return second.error();
    return numbers;
}

QString withOffset(const QString& base, qint64 offset)
{
    if (offset == 0)
        return base;
    return base + (offset < 0 ? QString::number(offset) : u'+' + QString::number(offset));
}

} // namespace corvane::script

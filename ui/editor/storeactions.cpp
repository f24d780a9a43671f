#include "ui/editor/storeactions.h"

#include "catalogue/textconv.h"

namespace corvane::editor {

namespace {

// Offsets within a family.
constexpr MethodCode ConstantOffset = 1;
constexpr MethodCode NoiseOffset = 2;
constexpr MethodCode ForeignKeyShift = 4;
constexpr MethodCode NullOffset = 9;

// The foreign-key variants keep the values inside the referenced key's set.
MethodCode variant(const TColumnRec& slot, MethodCode code)
{
    return slot.isForeignKey() ? code + ForeignKeyShift : code;
}

Outcome store(MethodCode method, std::optional<QString> param1 = std::nullopt,
              std::optional<QString> param2 = std::nullopt)
{
    Outcome out;
    out.kind = Outcome::Kind::Store;
    out.method = method;
    out.param1 = std::move(param1);
    out.param2 = std::move(param2);
    return out;
}

Outcome refuse(QString message, Reset reset = Reset::None)
{
    Outcome out;
    out.kind = Outcome::Kind::Refuse;
    out.message = std::move(message);
    out.reset = reset;
    return out;
}

Outcome fail(Error error)
{
    Outcome out;
    out.kind = Outcome::Kind::Fail;
    out.error = std::move(error);
    return out;
}

Outcome constantStore(const TColumnRec& slot, Family family, const QString& value)
{
    Outcome out = store(variant(slot, family + ConstantOffset), value);
    out.offerKeyValues = slot.isForeignKey();
    return out;
}

} // namespace

void Outcome::applyTo(TColumnRec& slot) const
{
    if (kind != Kind::Store)
        return;
    slot.method = method;
    if (param1)
        slot.setParam1(*param1);
    if (param2)
        slot.setParam2(*param2);
}

Outcome noMask(Family family)
{
    return store(family);
}

Outcome setNull(const TColumnRec& slot, Family family)
{
    // Only the server's exact text forbids NULL.
    if (slot.isnull == QLatin1String("NO"))
        return refuse(NullRefusal);
    return store(family + NullOffset);
}

Outcome shuffle(const TColumnRec& slot, Family family)
{
    // The date-time family has shuffle before the random interval; the text
    // family keeps shuffle at offset 4 as well.
    const MethodCode offset = family == DateTimeFamily ? 3 : 4;
    return store(variant(slot, family + offset));
}

Outcome constantValue(const TColumnRec& slot, Family family, const QString& value)
{
    return constantStore(slot, family, value);
}

Outcome noise(const TColumnRec& slot, Family family, const QString& range)
{
    return store(variant(slot, family + NoiseOffset), range);
}

Outcome randomRange(const TColumnRec& slot, Family family, const QString& lower,
                    const QString& upper)
{
    return store(variant(slot, family + 3), lower, upper);
}

Outcome constantDate(const TColumnRec& slot, const QDate& date)
{
    return constantStore(slot, DateTimeFamily, DateToText(date));
}

Outcome randomDates(const TColumnRec& slot, const QDate& first, const QDate& last)
{
    return store(variant(slot, DateTimeFamily + 4), DateToText(first), DateToText(last.addDays(1)));
}

QDate lastDayOfInterval(const QDate& end)
{
    return end.addDays(-1);
}

Outcome floatNoise(const TColumnRec& slot, const QString& range, const QString& decimals)
{
    return store(variant(slot, FloatFamily + NoiseOffset), range, decimals);
}

QString maxLengthMessage(const TColumnRec& slot)
{
    return QStringLiteral("Max length is ") + slot.char_max + QStringLiteral(" !");
}

Outcome constantText(const TColumnRec& slot, const QString& text)
{
    // An empty edit is a constant not typed yet, not an empty constant.
    if (text.isEmpty())
        return {};
    const Result<std::int32_t> maxLength = StrToInt(slot.char_max);
    if (!maxLength)
        return fail(maxLength.error());
    if (text.size() > *maxLength)
        return refuse(maxLengthMessage(slot), Reset::ConstantText);
    return constantStore(slot, VarcharFamily, text);
}

Outcome userText(const TColumnRec& slot, const QString& text)
{
    if (slot.isForeignKey())
        return refuse(ForeignKeyRefusal);
    return store(VarcharFamily + 2, text);
}

Outcome loremLength(const TColumnRec& slot, const QString& from, const QString& to)
{
    const Result<std::int32_t> lower = StrToInt(from);
    if (!lower)
        return fail(lower.error());
    const Result<std::int32_t> maxLength = StrToInt(slot.char_max);
    if (!maxLength)
        return fail(maxLength.error());
    if (*lower > *maxLength)
        return refuse(maxLengthMessage(slot), Reset::LoremFrom);
    const Result<std::int32_t> upper = StrToInt(to);
    if (!upper)
        return fail(upper.error());
    if (*upper > *maxLength)
        return refuse(maxLengthMessage(slot), Reset::LoremTo);
    if (slot.isForeignKey())
        return refuse(ForeignKeyRefusal);
    // The bounds go to the script as typed; a lower bound above the upper one
    // is the script's to handle.
    return store(VarcharFamily + 3, from, to);
}

Outcome virtualData(const TColumnRec& slot, const QString& listName)
{
    if (slot.isForeignKey())
        return refuse(ForeignKeyRefusal);
    return store(VarcharFamily + 7, listName);
}

} // namespace corvane::editor

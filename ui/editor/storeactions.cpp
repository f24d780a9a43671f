#include "ui/editor/storeactions.h"

#include "catalogue/textconv.h"

namespace corvane::editor {

namespace {

// The method of `kind` in `family`, as the slot takes it: its foreign-key
// variant on a foreign-key column when the method has one.
MethodCode codeFor(const TColumnRec& slot, TypeCategory family, MethodKind kind)
{
    const MethodInfo* method = findMethod(family, kind, slot.isForeignKey());
    Q_ASSERT(method);
    return method ? method->code : noMaskCode(family);
}

// The unbounded max types report -1: no limit.
bool longerThanColumn(qsizetype length, std::int32_t maxLength)
{
    return maxLength >= 0 && length > maxLength;
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

Outcome constantStore(const TColumnRec& slot, TypeCategory family, const QString& value)
{
    Outcome out = store(codeFor(slot, family, MethodKind::Constant), value);
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

Outcome noMask(TypeCategory family)
{
    return store(noMaskCode(family));
}

Outcome setNull(const TColumnRec& slot, TypeCategory family)
{
    // Only the server's exact text forbids NULL.
    if (slot.isnull == QLatin1String("NO"))
        return refuse(NullRefusal);
    return store(findMethod(family, MethodKind::Null)->code);
}

Outcome shuffle(const TColumnRec& slot, TypeCategory family)
{
    return store(codeFor(slot, family, MethodKind::Shuffle));
}

Outcome constantValue(const TColumnRec& slot, TypeCategory family, const QString& value)
{
    return constantStore(slot, family, value);
}

Outcome noise(const TColumnRec& slot, TypeCategory family, const QString& range)
{
    return store(codeFor(slot, family, MethodKind::Noise), range);
}

Outcome randomRange(const TColumnRec& slot, TypeCategory family, const QString& lower,
                    const QString& upper)
{
    return store(codeFor(slot, family, MethodKind::Interval), lower, upper);
}

Outcome constantDate(const TColumnRec& slot, const QDate& date)
{
    return constantStore(slot, tcDateTime, DateToText(date));
}

Outcome randomDates(const TColumnRec& slot, const QDate& first, const QDate& last)
{
    return store(codeFor(slot, tcDateTime, MethodKind::Interval), DateToText(first),
                 DateToText(last.addDays(1)));
}

QDate lastDayOfInterval(const QDate& end)
{
    return end.addDays(-1);
}

Outcome floatNoise(const TColumnRec& slot, const QString& range, const QString& decimals)
{
    return store(codeFor(slot, tcFloat, MethodKind::Noise), range, decimals);
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
    if (longerThanColumn(text.size(), *maxLength))
        return refuse(maxLengthMessage(slot), Reset::ConstantText);
    return constantStore(slot, tcVarchar, text);
}

Outcome userText(const TColumnRec& slot, const QString& text)
{
    if (slot.isForeignKey())
        return refuse(ForeignKeyRefusal);
    // The text is repeated to each value's length: without a character
    // that counts, there is nothing to repeat.
    if (text.trimmed().isEmpty())
        return refuse(BlankUserTextRefusal);
    return store(codeFor(slot, tcVarchar, MethodKind::SameLengthText), text);
}

Outcome loremLength(const TColumnRec& slot, const QString& from, const QString& to)
{
    const Result<std::int32_t> lower = StrToInt(from);
    if (!lower)
        return fail(lower.error());
    const Result<std::int32_t> maxLength = StrToInt(slot.char_max);
    if (!maxLength)
        return fail(maxLength.error());
    if (longerThanColumn(*lower, *maxLength))
        return refuse(maxLengthMessage(slot), Reset::LoremFrom);
    const Result<std::int32_t> upper = StrToInt(to);
    if (!upper)
        return fail(upper.error());
    if (longerThanColumn(*upper, *maxLength))
        return refuse(maxLengthMessage(slot), Reset::LoremTo);
    if (slot.isForeignKey())
        return refuse(ForeignKeyRefusal);
    // The bounds go to the script as typed; a lower bound above the upper one
    // is the script's to handle.
    return store(codeFor(slot, tcVarchar, MethodKind::LoremIpsum), from, to);
}

Outcome virtualData(const TColumnRec& slot, const QString& listName)
{
    if (slot.isForeignKey())
        return refuse(ForeignKeyRefusal);
    return store(codeFor(slot, tcVarchar, MethodKind::WordList), listName);
}

} // namespace corvane::editor

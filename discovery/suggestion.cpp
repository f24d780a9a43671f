#include "discovery/suggestion.h"

#include "catalogue/methods.h"
#include "discovery/typekind.h"

namespace corvane::discovery {

namespace {

constexpr int BirthDateNoiseDays = 180;

MethodCode codeOf(TypeCategory family, MethodKind kind)
{
    return findMethod(family, kind)->code;
}

// The same-length text repeats its text and cuts it to each value's length, so one
// character gives a value of that character alone, as long as the original.
Suggestion sameLength(const QString& text)
{
    return {codeOf(tcVarchar, MethodKind::SameLengthText), text, {}};
}

Suggestion wordList(const QString& name)
{
    return {codeOf(tcVarchar, MethodKind::WordList), name, {}};
}

Suggestion lorem(int maxLength)
{
    // Unbounded columns get notes of a plausible length; a bounded one
    // never more than it holds.
    const int longest = maxLength > 0 ? maxLength : 400;
    const int shortest = qMin(10, longest);
    return {codeOf(tcVarchar, MethodKind::LoremIpsum), QString::number(shortest),
            QString::number(longest)};
}

Suggestion forText(const Finding& finding, const TColumnRec& column)
{
    const int length = MaxLength(column);
    switch (finding.category) {
    case Category::PersonName:
        return wordList(finding.detail == Detail::FirstName ? FirstNamesList : LastNamesList);
    case Category::Address:
        if (finding.detail == Detail::HouseNumber)
            return sameLength(QStringLiteral("1"));
        return wordList(StreetsList);
    case Category::City:
        return wordList(CitiesList);
    case Category::Email:
        return sameLength(QStringLiteral("masked@example.org"));
    case Category::Phone:
    case Category::PostalCode:
    case Category::NationalId:
    case Category::TaxId:
    case Category::PaymentCard:
        return sameLength(QStringLiteral("0"));
    case Category::BankAccount:
        return sameLength(QStringLiteral("XX00000000000000000000000000000000"));
    case Category::IpAddress: {
        // A documentation address stays a valid address where it fits.
        const QString address = QStringLiteral("192.0.2.1");
        if (length == -1 || length == 0 || length >= address.size())
            return {codeOf(tcVarchar, MethodKind::Constant), address, {}};
        return sameLength(QStringLiteral("0"));
    }
    case Category::BirthDate:
        return sameLength(QStringLiteral("19700101"));
    case Category::FreeText:
        return lorem(length);
    case Category::Other:
        return sameLength(QStringLiteral("X"));
    case Category::None:
        break;
    }
    return {};
}

} // namespace

Suggestion Suggest(const Finding& finding, const TColumnRec& column)
{
    if (!finding.isPersonal() || column.isForeignKey())
        return {};
    switch (KindOfType(column.typ)) {
    case TypeKind::Text:
        return forText(finding, column);
    case TypeKind::Date:
        return {codeOf(tcDateTime, MethodKind::Noise), QString::number(BirthDateNoiseDays), {}};
    case TypeKind::Integer:
        if (finding.category == Category::BirthDate)
            return {codeOf(tcInteger, MethodKind::Noise), QStringLiteral("2"), {}}; // a birth year
        return {codeOf(tcInteger, MethodKind::Shuffle), {}, {}};
    case TypeKind::Decimal:
    case TypeKind::Float:
        return {codeOf(tcFloat, MethodKind::Shuffle), {}, {}};
    case TypeKind::Unusable:
        break;
    }
    return {};
}

QString SuggestionText(const Suggestion& suggestion)
{
    if (!suggestion.isValid())
        return {};
    QString text = QString::number(suggestion.code);
    if (!suggestion.param1.isEmpty() || !suggestion.param2.isEmpty())
        text += u' ' + suggestion.param1;
    if (!suggestion.param2.isEmpty())
        text += u' ' + suggestion.param2;
    return text;
}

void ApplySuggestion(TColumnRec& column, const Suggestion& suggestion)
{
    if (!suggestion.isValid())
        return;
    column.method = suggestion.code;
    column.setParam1(suggestion.param1);
    column.setParam2(suggestion.param2);
}

bool IsMasked(const TColumnRec& column)
{
    return hasBlock(column.method);
}

Coverage CoverageOf(const TData& catalogue, const QVector<Finding>& findings)
{
    Coverage coverage;
    for (const Finding& f : findings) {
        if (!f.isPersonal() || f.slot < 0 || f.slot >= catalogue.size())
            continue;
        ++coverage.personal;
        if (IsMasked(catalogue.at(f.slot)))
            ++coverage.masked;
    }
    return coverage;
}

QString CoverageText(const Coverage& coverage)
{
    return QStringLiteral("%1 of %2 personal-data columns masked")
        .arg(coverage.masked)
        .arg(coverage.personal);
}

} // namespace corvane::discovery

#include "discovery/values.h"

#include "discovery/typekind.h"
#include "discovery/validators.h"

#include <functional>

namespace corvane::discovery {

namespace {

constexpr double Agreement = 0.8; // share of values that must pass
constexpr double Disagreement = 0.2;

struct Check
{
    Category category;
    bool tellsAlone;
    const char* what;
    std::function<bool(const QString&)> passes;
};

} // namespace

void AddValueEvidence(Finding& finding, const TColumnRec& column, const QStringList& values,
                      const QDate& today)
{
    if (!finding.label.isEmpty())
        return; // the server's own label stands
    QStringList present;
    for (const QString& v : values)
        if (!v.trimmed().isEmpty())
            present << v;
    if (present.size() < MinimumValues) {
        if (finding.isPersonal())
            finding.evidence << QStringLiteral("values: too few to judge");
        return;
    }
    if (column.isForeignKey() || KindOfType(column.typ) == TypeKind::Unusable)
        return;

    const QList<Check> checks = {
        {Category::Email, true, "e-mail addresses", &IsEmailAddress},
        {Category::BankAccount, true, "IBANs", &IsIban},
        {Category::PaymentCard, true, "card numbers", &IsPaymentCard},
        {Category::IpAddress, true, "IP addresses",
         [](const QString& v) { return IsIpv4Address(v) || IsIpv6Address(v); }},
        {Category::Phone, false, "phone numbers", &IsPhoneNumber},
        {Category::PostalCode, false, "postal codes", &IsPostalCode},
        {Category::BirthDate, false, "birth dates",
         [&today](const QString& v) { return IsBirthDate(v, today); }},
    };
    const auto phrase = [&](int passed, const char* what) {
        return QStringLiteral("values: %1 of %2 %3")
            .arg(passed)
            .arg(present.size())
            .arg(QLatin1String(what));
    };
    for (const Check& check : checks) {
        const bool sameCategory = finding.category == check.category;
        if (!sameCategory && !check.tellsAlone)
            continue;
        int passed = 0;
        for (const QString& v : present)
            passed += check.passes(v) ? 1 : 0;
        const double share = double(passed) / present.size();
        if (share >= Agreement) {
            if (!sameCategory) {
                // The values are plainly of another kind than the name says.
                finding.category = check.category;
                finding.detail = Detail::Any;
                finding.confidence = 0.6 + 0.35 * share;
            } else {
                finding.confidence = qMax(finding.confidence, 0.9 + 0.09 * share);
            }
            finding.evidence.prepend(phrase(passed, check.what));
            return;
        }
        if (sameCategory && share < Disagreement && finding.category != Category::BankAccount) {
            // BICs and national account numbers fail the IBAN check and still
            // are bank data; elsewhere values that never fit weaken the name.
            finding.confidence *= 0.6;
            finding.evidence << phrase(passed, check.what);
        }
    }
    if (finding.isPersonal() && finding.confidence < 0.5)
        finding.evidence << QStringLiteral("values do not look so; check by hand");
}

} // namespace corvane::discovery

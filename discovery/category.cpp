#include "discovery/category.h"

namespace corvane::discovery {

QString CategoryKey(Category category)
{
    switch (category) {
    case Category::None: return QStringLiteral("none");
    case Category::PersonName: return QStringLiteral("person-name");
    case Category::Email: return QStringLiteral("e-mail");
    case Category::Phone: return QStringLiteral("phone");
    case Category::Address: return QStringLiteral("address");
    case Category::PostalCode: return QStringLiteral("postal-code");
    case Category::City: return QStringLiteral("city");
    case Category::BirthDate: return QStringLiteral("birth-date");
    case Category::NationalId: return QStringLiteral("national-id");
    case Category::TaxId: return QStringLiteral("tax-id");
    case Category::BankAccount: return QStringLiteral("bank-account");
    case Category::PaymentCard: return QStringLiteral("payment-card");
    case Category::IpAddress: return QStringLiteral("ip-address");
    case Category::FreeText: return QStringLiteral("free-text");
    case Category::Other: return QStringLiteral("other");
    }
    return {};
}

QString CategoryCaption(Category category)
{
    switch (category) {
    case Category::None: return QStringLiteral("None");
    case Category::PersonName: return QStringLiteral("Person name");
    case Category::Email: return QStringLiteral("E-mail");
    case Category::Phone: return QStringLiteral("Phone");
    case Category::Address: return QStringLiteral("Address");
    case Category::PostalCode: return QStringLiteral("Postal code");
    case Category::City: return QStringLiteral("City");
    case Category::BirthDate: return QStringLiteral("Birth date");
    case Category::NationalId: return QStringLiteral("National id");
    case Category::TaxId: return QStringLiteral("Tax id");
    case Category::BankAccount: return QStringLiteral("Bank account");
    case Category::PaymentCard: return QStringLiteral("Payment card");
    case Category::IpAddress: return QStringLiteral("IP address");
    case Category::FreeText: return QStringLiteral("Free text");
    case Category::Other: return QStringLiteral("Other personal data");
    }
    return {};
}

} // namespace corvane::discovery

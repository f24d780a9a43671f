#pragma once

#include <QString>

namespace corvane::discovery {

// What kind of personal data a column holds.
enum class Category {
    None,
    PersonName,
    Email,
    Phone,
    Address,
    PostalCode,
    City,
    BirthDate,
    NationalId,
    TaxId,
    BankAccount,
    PaymentCard,
    IpAddress,
    FreeText,
    Other, // labelled as sensitive on the server, of no kind above
};

// Finer kinds where the suggestion depends on them.
enum class Detail { Any, FirstName, LastName, FullName, Street, HouseNumber, BirthPlace };

// The category's key as printed by the command line: "person-name", "e-mail", ...
QString CategoryKey(Category category);
// The category as the window shows it: "Person name", "E-mail", ...
QString CategoryCaption(Category category);

} // namespace corvane::discovery

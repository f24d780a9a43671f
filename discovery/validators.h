#pragma once

#include <QDate>
#include <QString>

// Checks of single values read from a column. Each takes the value as the
// server returned it as text and ignores blanks around it.
namespace corvane::discovery {

bool IsEmailAddress(const QString& value);
// Country code, check digits and account, with the check digits computed
// modulo 97 and the length of the countries whose length is known.
bool IsIban(const QString& value);
// 13 to 19 digits (blanks and dashes between them allowed) passing the Luhn check.
bool IsPaymentCard(const QString& value);
bool IsIpv4Address(const QString& value);
bool IsIpv6Address(const QString& value);
// International (+ or 00), national (leading 0) or grouped ("555-123-4567")
// numbers of 7 to 15 digits; dates and amounts are not phone numbers.
bool IsPhoneNumber(const QString& value);
// The shapes of the postal codes of Western Europe and North America:
// 4 or 5 digits, "1234 AB", "SW1A 1AA", "12345-6789", "K1A 0B1".
bool IsPostalCode(const QString& value);
// A date at midnight, not after `today` and not more than 120 years before it
// (ISO, "dd.mm.yyyy", "dd/mm/yyyy", "yyyymmdd").
bool IsBirthDate(const QString& value, const QDate& today);

} // namespace corvane::discovery

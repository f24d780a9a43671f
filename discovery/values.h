#pragma once

#include "catalogue/consttypes.h"
#include "discovery/finding.h"

#include <QDate>
#include <QStringList>

namespace corvane::discovery {

// Fewer non-empty values than this say nothing either way.
constexpr int MinimumValues = 3;

// Weighs a sample of the column's values into a finding made from names and
// types. E-mail addresses, IBANs, card numbers and IP addresses are told by
// their values alone; phone numbers, postal codes and birth dates only
// confirm or weaken what the name says, since many other values share their
// shapes.
void AddValueEvidence(Finding& finding, const TColumnRec& column, const QStringList& values,
                      const QDate& today);

} // namespace corvane::discovery

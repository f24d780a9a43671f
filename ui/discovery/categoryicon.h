#pragma once

#include "discovery/finding.h"

#include <QIcon>
#include <QString>

namespace corvane::ui {

// A small badge per category for the tree and the findings list: a coloured
// disc with the category's initial.
QIcon CategoryIcon(discovery::Category category);

// What the tree shows when the pointer rests on a column with a finding.
QString FindingToolTip(const discovery::Finding& finding);

} // namespace corvane::ui

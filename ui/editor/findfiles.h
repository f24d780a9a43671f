#pragma once

#include <QString>
#include <QStringList>

namespace corvane {

// Appends to `list` one entry per file of `folder` that matches `mask` (not
// folders, hidden files included, no sub-folders, sorted by name): the file
// name up to its first '.', so a name without a '.' gives an empty entry.
// "*.*" means every file, whatever its name. Returns the number of entries
// added; a missing folder, or an empty folder path, adds none.
int FindFiles(const QString& folder, const QString& mask, QStringList& list);

} // namespace corvane

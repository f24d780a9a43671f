#pragma once

#include "base/result.h"

#include <QString>
#include <QStringList>

namespace corvane {

// The folder "virtual_data" under the current working directory, found
// without regard to letter case; empty when there is none.
QString VirtualDataFolder();

// The file of the word list `name`: the folder + "/" + name + ".txt". Without
// a folder, the path where it would be (which then does not exist).
QString WordListPath(const QString& name);

// The first line of the word list `name`, which holds its values separated by
// ';'. A missing file is a notice naming it; an unreadable one an I/O error.
Result<QString> ReadWordList(const QString& name);

// The editor shows one value per line; the file holds them on one line. Each
// line break (as CR LF) and each comma becomes ';', then one pass turns every
// ";;" into ";": a break gives one separator, a blank line an empty value.
QString WordListFromEditorText(const QString& text);
// Each line's values on lines of their own.
QString EditorTextFromWordList(const QStringList& lines);

} // namespace corvane

#pragma once

#include "base/result.h"

#include <QString>

namespace corvane {

// "I/O error <code>", the failure of a file operation; `code` is the system
// error number (errno), or EIO when the system gave none.
Error IoError(int code);

// Writes `text` as UTF-8 to `path`, whole or not at all: a temporary file in
// the same folder replaces the target only once everything is written.
Status WriteTextFile(const QString& path, const QString& text);
// The one writer of the program's files: `bytes` whole or not at all.
Status WriteFileAtomically(const QString& path, const QByteArray& bytes);

// The first line of the file without its line break (CR LF, LF or a lone CR);
// empty for an empty file. The rest of the file is not read.
Result<QString> ReadFirstLine(const QString& path);

// Every line of the file, each without its line break.
Result<QStringList> ReadLines(const QString& path);

} // namespace corvane

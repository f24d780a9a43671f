#pragma once

#include "base/result.h"
#include "catalogue/consttypes.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>

#include <cstdint>

namespace corvane::script {

// What the script's header names: where it was made for and with what.
struct ScriptOrigin
{
    QString server;
    QString database;
    std::int32_t seed = DefaultSeed;
    QDate date;
    // More lines for the header (the check's findings), each written as a
    // comment of its own.
    QStringList notes = {};
};

// The whole script as the SQL page shows it: a header comment naming the
// database, server, seed, date, number of masked columns and the notes, a USE of the
// database (so that the script cannot change another one by mistake), then
// the generated blocks. Empty when no column is masked. On a failure the
// error is set and the text holds what was generated up to it.
struct ScriptText
{
    QString text;
    std::optional<Error> error;
};
ScriptText BuildScriptText(const TData& catalogue, const ScriptOrigin& origin);

// The bytes of a saved script: every line break as CR LF, one more at the
// end, UTF-8. The SQL page and the command line save through this alone.
QByteArray ScriptFileBytes(const QString& text);

} // namespace corvane::script

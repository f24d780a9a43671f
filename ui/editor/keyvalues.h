#pragma once

#include "catalogue/consttypes.h"
#include "base/result.h"
#include "db/connection.h"
#include "db/worker.h"

#include <QDate>
#include <QString>
#include <QStringList>

// The value list of a foreign-key column: the values of the key it refers to.
namespace corvane::editor {

// "select [PK_column] from [PK_schema].[PK_table]": the referenced table in
// its own schema, not the login's default one.
QString keyValueQuery(const TColumnRec& slot);

// Opens a connection from `connect` with `connectionString`, runs the query
// and returns the key column's values as text, in the order the server
// delivers them. The connection is closed again before returning. Run on a
// worker, `control` can cancel the query while the server works on it.
Result<QStringList> readKeyValues(const db::ConnectionFactory& connect,
                                  const QString& connectionString, const TColumnRec& slot,
                                  db::CallControl* control = nullptr);

// The date of an entry of the date-time sheet's value list. Entries typed by
// the operator are short dates; values read from the server come as
// yyyy-MM-dd with the time of day after them, which is dropped (the constant
// is a day). Fails with "'<text>' is not a valid date".
Result<QDate> keyValueDate(const QString& text);

} // namespace corvane::editor

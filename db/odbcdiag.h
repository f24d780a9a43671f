#pragma once

#include "base/result.h"

#include <sql.h>
#include <sqlext.h>

#include <QString>

namespace corvane::db::odbc {

static_assert(sizeof(SQLWCHAR) == sizeof(char16_t), "the driver manager must use UTF-16 wide characters");

inline SQLWCHAR* wide(QString& text)
{
    return reinterpret_cast<SQLWCHAR*>(text.data());
}

inline QString fromWide(const SQLWCHAR* text, qsizetype length)
{
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(text), length);
}

inline bool succeeded(SQLRETURN rc)
{
    return rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO;
}

// The error behind a failed call on `handle`: the server's own message texts
// (without the driver's "[vendor][component]" prefixes), one per line, and
// Kind::Timeout when the call ran out of time.
Error diagnostics(SQLSMALLINT handleType, SQLHANDLE handle, const QString& fallback);

// "[unixODBC][FreeTDS][SQL Server]Invalid object name 'x'." -> "Invalid object name 'x'."
QString stripPrefixes(const QString& text);

} // namespace corvane::db::odbc

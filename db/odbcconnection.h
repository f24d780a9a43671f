#pragma once

#include "db/connection.h"

namespace corvane::db {

// Environment variable that names the ODBC driver to use instead of FreeTDS.
inline constexpr char DriverVariable[] = "CORVANE_ODBC_DRIVER";

// Translates a connection string of the connection dialog into an ODBC one
// for `driver`. Fails when the string is not well formed.
Result<QString> ToOdbcConnectionString(const QString& connectionString, const QString& driver,
                                       const QString& user = {}, const QString& password = {});

// Makes a connection to SQL Server through ODBC.
std::unique_ptr<Connection> MakeOdbcConnection();

} // namespace corvane::db

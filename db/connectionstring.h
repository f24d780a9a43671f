#pragma once

#include <QString>

namespace corvane::db {

struct LoginFields
{
    QString server;
    QString database;
    QString login;
    QString password;
};

// The connection string of a login, as the connection dialog builds it. A value
// that holds ';' (or starts with a quote) is quoted so that it reads back as
// typed; every other value is inserted unchanged.
QString BuildConnectionString(const LoginFields& fields, const QString& computerName);

// The local computer's name, or the empty text when it cannot be read.
QString ComputerName();

} // namespace corvane::db

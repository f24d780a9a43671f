#pragma once

#include "base/result.h"

#include <QList>
#include <QPair>
#include <QString>

#include <initializer_list>

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

// A connection string read as its key=value pairs, keys in lower case.
using ConnectionPairs = QList<QPair<QString, QString>>;
Result<ConnectionPairs> ParseConnectionString(const QString& text);
// The value of the last of `keys` given; empty when none is.
QString ConnectionValue(const ConnectionPairs& pairs, std::initializer_list<const char16_t*> keys);

// The server and the database a connection string names; both empty when
// the string is not well formed.
struct ConnectionTarget
{
    QString server;
    QString database;
};
ConnectionTarget TargetOf(const QString& connectionString);

// The local computer's name, or the empty text when it cannot be read.
QString ComputerName();

} // namespace corvane::db

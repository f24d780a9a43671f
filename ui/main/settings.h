#pragma once

#include <QString>

class QSettings;

// What the program remembers between runs: where the operator logged in last
// (never the password) and the folders last used for each kind of file. A
// null store remembers nothing and gives the defaults.
namespace corvane::settings {

struct LoginFields
{
    QString server;
    QString database;
    QString login;
};

LoginFields lastLogin(const QSettings* store);
void rememberLogin(QSettings* store, const LoginFields& fields);

// Kinds of file with a folder of their own.
inline const QString ProjectFolder = QStringLiteral("project");
inline const QString ScriptFolder = QStringLiteral("script");

// The folder last used for `kind`; the current directory until one was used
// or when it no longer exists.
QString lastFolder(const QSettings* store, const QString& kind);
// Remembers the folder of `fileName` for `kind`.
void rememberFolder(QSettings* store, const QString& kind, const QString& fileName);

} // namespace corvane::settings

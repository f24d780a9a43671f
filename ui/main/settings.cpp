#include "ui/main/settings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace corvane::settings {

namespace {

const QString ServerKey = QStringLiteral("login/server");
const QString DatabaseKey = QStringLiteral("login/database");
const QString LoginKey = QStringLiteral("login/login");

QString folderKey(const QString& kind)
{
    return QStringLiteral("folders/") + kind;
}

} // namespace

LoginFields lastLogin(const QSettings* store)
{
    if (!store)
        return {};
    return {store->value(ServerKey).toString(), store->value(DatabaseKey).toString(),
            store->value(LoginKey).toString()};
}

void rememberLogin(QSettings* store, const LoginFields& fields)
{
    if (!store)
        return;
    store->setValue(ServerKey, fields.server);
    store->setValue(DatabaseKey, fields.database);
    store->setValue(LoginKey, fields.login);
    store->sync();
}

QString lastFolder(const QSettings* store, const QString& kind)
{
    const QString folder = store ? store->value(folderKey(kind)).toString() : QString();
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        return QDir::currentPath();
    return folder;
}

void rememberFolder(QSettings* store, const QString& kind, const QString& fileName)
{
    if (!store || fileName.isEmpty())
        return;
    store->setValue(folderKey(kind), QFileInfo(fileName).absolutePath());
    store->sync();
}

} // namespace corvane::settings

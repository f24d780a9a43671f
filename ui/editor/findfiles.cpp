#include "ui/editor/findfiles.h"

#include <QDir>

namespace corvane {

int FindFiles(const QString& folder, const QString& mask, QStringList& list)
{
    // An empty path would list the working directory itself.
    if (folder.isEmpty())
        return 0;
    const QDir dir(folder);
    if (!dir.exists())
        return 0;
    // Names without a dot match "*.*" too.
    const QString pattern = mask == QLatin1String("*.*") ? QStringLiteral("*") : mask;
    const QStringList names = dir.entryList({pattern}, QDir::Files | QDir::Hidden | QDir::System,
                                            QDir::Name | QDir::IgnoreCase);
    for (const QString& name : names) {
        const qsizetype dot = name.indexOf(u'.');
        list.append(dot < 0 ? QString() : name.left(dot));
    }
    return int(names.size());
}

} // namespace corvane

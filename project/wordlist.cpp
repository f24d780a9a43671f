#include "project/wordlist.h"

#include "project/textfile.h"

#include <QDir>
#include <QFileInfo>

namespace corvane {

namespace {

const QString FolderName = QStringLiteral("virtual_data");

} // namespace

QString VirtualDataFolder()
{
    const QDir current(QDir::currentPath());
    if (QFileInfo(current.filePath(FolderName)).isDir())
        return current.filePath(FolderName);
    const QStringList dirs = current.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& dir : dirs) {
        if (dir.compare(FolderName, Qt::CaseInsensitive) == 0)
            return current.filePath(dir);
    }
    return {};
}

QString WordListPath(const QString& name)
{
    QString folder = VirtualDataFolder();
    if (folder.isEmpty())
        folder = QDir(QDir::currentPath()).filePath(FolderName);
    return folder + u'/' + name + QStringLiteral(".txt");
}

Result<QString> ReadWordList(const QString& name)
{
    const QString path = WordListPath(name);
    if (!QFileInfo::exists(path))
        return Error::notice(QStringLiteral("File ") + name +
                             QStringLiteral(".txt with virtual data does not exist. "));
    return ReadFirstLine(path);
}

QString WordListFromEditorText(const QString& text)
{
    // The conversion counts on CR LF line ends, two separators per break that
    // the last pass folds into one; a blank line then stays an empty value.
    QString line = text;
    line.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    line.replace(u'\n', QStringLiteral("\r\n"));
    line.replace(u'\n', u';');
    line.replace(u'\r', u';');
    line.replace(u',', u';');
    line.replace(QStringLiteral(";;"), QStringLiteral(";"));
    return line;
}

QString EditorTextFromWordList(const QStringList& lines)
{
    QStringList values;
    for (const QString& line : lines)
        values.append(line.split(u';'));
    return values.join(u'\n');
}

} // namespace corvane

#include "project/textfile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>

#include <cerrno>

namespace corvane {

namespace {

// errno right after a failed call; Qt reports failures only as its own enums.
Error lastIoError()
{
    return IoError(errno);
}

// Qt refuses to open a folder itself, without a system error.
Status openForReading(QFile& file)
{
    errno = 0;
    if (file.open(QIODevice::ReadOnly))
        return {};
    if (errno == 0 && QFileInfo(file.fileName()).isDir())
        return IoError(EISDIR);
    return lastIoError();
}

} // namespace

Error IoError(int code)
{
    if (code == 0)
        code = EIO;
    return Error::failure(QStringLiteral("I/O error %1").arg(code), code);
}

Status WriteTextFile(const QString& path, const QString& text)
{
    return WriteFileAtomically(path, text.toUtf8());
}

Status WriteFileAtomically(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly))
        return lastIoError();
    if (file.write(bytes) != bytes.size()) {
        const Error error = lastIoError();
        file.cancelWriting();
        return error;
    }
    errno = 0;
    if (!file.commit())
        return lastIoError();
    return {};
}

Result<QString> ReadFirstLine(const QString& path)
{
    QFile file(path);
    if (Status opened = openForReading(file); !opened)
        return opened.error();
    // Word lists are one line, but nothing stops a file from being large: read
    // in pieces until the first line break.
    QByteArray line;
    char chunk[4096];
    for (;;) {
        const qint64 n = file.read(chunk, sizeof chunk);
        if (n < 0)
            return lastIoError();
        if (n == 0)
            break;
        const QByteArrayView piece(chunk, n);
        const qsizetype cr = piece.indexOf('\r');
        const qsizetype lf = piece.indexOf('\n');
        const qsizetype end = cr < 0 ? lf : (lf < 0 ? cr : qMin(cr, lf));
        if (end >= 0) {
            line.append(piece.first(end));
            break;
        }
        line.append(piece);
    }
    return QString::fromUtf8(line);
}

Result<QStringList> ReadLines(const QString& path)
{
    QFile file(path);
    if (Status opened = openForReading(file); !opened)
        return opened.error();
    errno = 0;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return lastIoError();
    QStringList lines;
    const QString text = QString::fromUtf8(bytes);
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != u'\r' && c != u'\n')
            continue;
        lines.append(text.mid(start, i - start));
        if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.append(text.mid(start));
    return lines;
}

} // namespace corvane

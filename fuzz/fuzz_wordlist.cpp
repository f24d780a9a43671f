// Word lists are files that operators write by hand or copy from elsewhere:
// reading one and building the word-list block from it must survive any bytes,
// and the editor's conversions any text.
#include "project/wordlist.h"
#include "script/generator.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

using namespace corvane;

namespace {

QTemporaryDir* folder = nullptr;
QString listPath;

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    folder = new QTemporaryDir;
    if (!folder->isValid() || !QDir(folder->path()).mkdir(QStringLiteral("Virtual_Data")))
        return 1;
    // The lists are found under the current working directory.
    QDir::setCurrent(folder->path());
    listPath = folder->filePath(QStringLiteral("Virtual_Data/names.txt"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    {
        QFile file(listPath);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        file.write(bytes);
    }

    const Result<QString> line = ReadWordList(QStringLiteral("names"));
    if (!line)
        std::abort(); // the file is there and readable
    if (line->contains(u'\n'))
        std::abort(); // only the first line is used

    TColumnRec slot;
    slot.stab = QStringLiteral("dbo.Person");
    slot.col = QStringLiteral("Name");
    slot.method = 1007;
    slot.setParam1(QStringLiteral("names"));
    const Result<QString> block = script::BuildBlock(slot);
    if (!block || block->isEmpty())
        std::abort();

    const QString text = QString::fromUtf8(bytes);
    const QString converted = WordListFromEditorText(text);
    if (converted.contains(u'\n') || converted.contains(u'\r'))
        std::abort(); // the file must stay one line
    (void)EditorTextFromWordList(text.split(u'\n'));
    return 0;
}

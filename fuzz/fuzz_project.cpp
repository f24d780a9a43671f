// Project files come from disk and may have been edited by hand: loading any
// bytes must neither crash nor touch anything but method and parameters.
#include "project/loadsave.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

using namespace corvane;

namespace {

QTemporaryDir* folder = nullptr;

TData catalogue()
{
    TData data(6);
    const auto column = [&](int slot, const char* table, const char* name) {
        data[slot].stab = QString::fromLatin1(table);
        data[slot].col = QString::fromLatin1(name);
        data[slot].method = NoMethodYet;
    };
    column(2, "dbo.Person", "Birthdate");
    column(3, "dbo.Person", "Name");
    // Longer than the 20 characters that older files kept of a name.
    column(5, "sales.OrderLinesOfTheYear", "QuantityDeliveredToCustomer");
    return data;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    folder = new QTemporaryDir;
    return folder->isValid() ? 0 : 1;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString path = folder->filePath(QStringLiteral("input.crv"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        file.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    const TData before = catalogue();
    TData after = before;
    (void)TLoadSave().LoadProject(path, after);

    if (after.size() != before.size())
        std::abort();
    for (qsizetype i = 0; i < after.size(); ++i) {
        const TColumnRec& a = after.at(i);
        const TColumnRec& b = before.at(i);
        if (a.stab != b.stab || a.col != b.col || a.typ != b.typ || a.PK_table != b.PK_table)
            std::abort();
        if (a.param1.size() > ParamCapacity || a.param2.size() > ParamCapacity)
            std::abort();
    }
    return 0;
}

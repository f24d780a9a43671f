// The connection string is read back by the database layer: any text must
// translate or fail cleanly, and every string that the connection dialog can
// build from what an operator types must translate.
#include "db/connectionstring.h"
#include "db/odbcconnection.h"

#include <QString>

#include <cstdint>
#include <cstdlib>

using namespace corvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    (void)db::ToOdbcConnectionString(text, QStringLiteral("FreeTDS"));
    (void)db::ToOdbcConnectionString(text, QStringLiteral("ODBC Driver 18 for SQL Server"));

    // The same bytes as the four fields of the dialog, separated by NUL.
    const QStringList parts = text.split(QChar(0));
    db::LoginFields fields;
    fields.server = parts.value(0);
    fields.database = parts.value(1);
    fields.login = parts.value(2);
    fields.password = parts.value(3);
    if (fields.server.trimmed().isEmpty() || fields.database.isEmpty() || fields.login.isEmpty())
        return 0;
    // FreeTDS ends a braced value at the first "};", so such a value is refused
    // with a message of its own rather than passed on cut.
    for (const QString* value : {&fields.server, &fields.database, &fields.login, &fields.password})
        if (value->contains(QStringLiteral("};")))
            return 0;
    const QString built = db::BuildConnectionString(fields, QStringLiteral("WS1"));
    if (!db::ToOdbcConnectionString(built, QStringLiteral("FreeTDS")))
        std::abort();
    return 0;
}

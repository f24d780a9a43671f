#include "db/odbcconnection.h"

// Placeholder until the ODBC implementation lands.
namespace corvane::db {

Result<QString> ToOdbcConnectionString(const QString&, const QString&, const QString&,
                                       const QString&)
{
    return Error::failure(QStringLiteral("not implemented"));
}

std::unique_ptr<Connection> MakeOdbcConnection()
{
    return nullptr;
}

} // namespace corvane::db

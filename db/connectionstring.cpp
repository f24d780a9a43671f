#include "db/connectionstring.h"

#include <QSysInfo>

namespace corvane::db {

namespace {

// OLE DB reads a value up to the next ';' unless it is quoted; a quoted value
// keeps its ';' and stands for itself with the quote character doubled inside.
QString quoted(const QString& value)
{
    const bool needsQuotes = value.contains(u';') || value.startsWith(u'"') ||
                             value.startsWith(u'\'');
    if (!needsQuotes)
        return value;
    QString inner = value;
    inner.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + inner + u'"';
}

} // namespace

QString BuildConnectionString(const LoginFields& fields, const QString& computerName)
{
    return QStringLiteral(" Provider=SQLOLEDB.1;Password=") + quoted(fields.password) +
           QStringLiteral(";Persist Security Info=True;User ID=") + quoted(fields.login) +
           QStringLiteral("; ") + QStringLiteral(" Initial Catalog=") + quoted(fields.database) +
           QStringLiteral(";Data Source=") + quoted(fields.server) +
           QStringLiteral("; Use Procedure for Prepare=1; ") +
           QStringLiteral(" Auto Translate=True;Packet Size=4096;Workstation ID=") +
           quoted(computerName) + QStringLiteral("; ") +
           QStringLiteral(" Use Encryption for Data=False;Tag with column collation when "
                          "possible=False");
}

QString ComputerName()
{
    return QSysInfo::machineHostName();
}

} // namespace corvane::db

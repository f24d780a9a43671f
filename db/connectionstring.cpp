#include "db/connectionstring.h"

#include <QSysInfo>

namespace corvane::db {

namespace {

// OLE DB reads a value up to the next ';' unless it is quoted; a quoted value
// keeps its ';' and stands for itself with the quote character doubled inside.
// Blanks before an opening quote are skipped when the string is read, so a
// value whose first non-blank character is a quote needs quotes of its own.
QString quoted(const QString& value)
{
    qsizetype first = 0;
    while (first < value.size() && value.at(first) == u' ')
        ++first;
    const QChar lead = first < value.size() ? value.at(first) : QChar();
    const bool needsQuotes = value.contains(u';') || lead == u'"' || lead == u'\'';
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

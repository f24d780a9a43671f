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

Error malformed(const QString& why)
{
    return Error::failure(QStringLiteral("Invalid connection string: ") + why);
}

} // namespace

// Reads `key=value;...` as the connection dialog writes it: keys without case
// and surrounding blanks, a value either up to the next ';' or quoted with " or '
// (the quote doubled inside). Unquoted values keep their blanks, since a
// password may begin or end with one.
Result<ConnectionPairs> ParseConnectionString(const QString& text)
{
    ConnectionPairs pairs;
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n) {
        while (i < n && (text.at(i).isSpace() || text.at(i) == u';'))
            ++i;
        if (i >= n)
            break;
        const qsizetype eq = text.indexOf(u'=', i);
        // The message names no part of the string: the rest may be a password.
        if (eq < 0)
            return malformed(QStringLiteral("a key without a value"));
        const QString key = text.mid(i, eq - i).trimmed().toLower();
        if (key.isEmpty())
            return malformed(QStringLiteral("a value without a key"));
        i = eq + 1;
        QString value;
        qsizetype start = i;
        while (start < n && text.at(start) == u' ')
            ++start;
        if (start < n && (text.at(start) == u'"' || text.at(start) == u'\'')) {
            const QChar quote = text.at(start);
            qsizetype j = start + 1;
            bool closed = false;
            while (j < n) {
                if (text.at(j) == quote) {
                    if (j + 1 < n && text.at(j + 1) == quote) {
                        value += quote;
                        j += 2;
                        continue;
                    }
                    closed = true;
                    ++j;
                    break;
                }
                value += text.at(j++);
            }
            if (!closed)
                return malformed(QStringLiteral("the value of '") + key +
                                 QStringLiteral("' has no closing quote"));
            while (j < n && text.at(j).isSpace())
                ++j;
            if (j < n && text.at(j) != u';')
                return malformed(QStringLiteral("text after the quoted value of '") + key +
                                 QStringLiteral("'"));
            i = j;
        } else {
            qsizetype end = text.indexOf(u';', i);
            if (end < 0)
                end = n;
            value = text.mid(i, end - i);
            i = end;
        }
        pairs.append({key, value});
    }
    return pairs;
}

QString ConnectionValue(const ConnectionPairs& pairs, std::initializer_list<const char16_t*> keys)
{
    // The last occurrence wins, as with a key given twice on the command line.
    for (auto it = pairs.crbegin(); it != pairs.crend(); ++it)
        for (const char16_t* key : keys)
            if (it->first == QStringView(key))
                return it->second;
    return {};
}

ConnectionTarget TargetOf(const QString& connectionString)
{
    const auto pairs = ParseConnectionString(connectionString);
    if (!pairs)
        return {};
    return {ConnectionValue(*pairs, {u"data source", u"server", u"address", u"addr", u"network address"}),
            ConnectionValue(*pairs, {u"initial catalog", u"database"})};
}

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

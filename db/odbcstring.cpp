#include "db/odbcconnection.h"

#include <QList>
#include <QPair>

namespace corvane::db {

namespace {

using Pairs = QList<QPair<QString, QString>>;

Error malformed(const QString& why)
{
    return Error::failure(QStringLiteral("Invalid connection string: ") + why);
}

// Reads `key=value;...` as the connection dialog writes it: keys without case
// and surrounding blanks, a value either up to the next ';' or quoted with " or '
// (the quote doubled inside). Unquoted values keep their blanks, since a
// password may begin or end with one.
Result<Pairs> parsePairs(const QString& text)
{
    Pairs pairs;
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n) {
        while (i < n && (text.at(i).isSpace() || text.at(i) == u';'))
            ++i;
        if (i >= n)
            break;
        const qsizetype eq = text.indexOf(u'=', i);
        if (eq < 0)
            return malformed(QStringLiteral("'") + text.mid(i).trimmed() +
                             QStringLiteral("' has no value"));
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

QString lookup(const Pairs& pairs, std::initializer_list<const char16_t*> keys)
{
    // The last occurrence wins, as with a key given twice on the command line.
    for (auto it = pairs.crbegin(); it != pairs.crend(); ++it)
        for (const char16_t* key : keys)
            if (it->first == QStringView(key))
                return it->second;
    return {};
}

bool has(const Pairs& pairs, const char16_t* key)
{
    for (const auto& pair : pairs)
        if (pair.first == QStringView(key))
            return true;
    return false;
}

// An ODBC value needs braces when it would otherwise end early or lose blanks.
QString odbcValue(const QString& value)
{
    const bool plain = !value.contains(u';') && !value.contains(u'{') && !value.contains(u'}') &&
                       !value.contains(u'=') && value.trimmed() == value;
    if (plain)
        return value;
    QString inner = value;
    inner.replace(QStringLiteral("}"), QStringLiteral("}}"));
    return u'{' + inner + u'}';
}

bool isTrue(const QString& value)
{
    const QString v = value.trimmed().toLower();
    return v == u"true" || v == u"yes" || v == u"1";
}

} // namespace

Result<QString> ToOdbcConnectionString(const QString& connectionString, const QString& driver,
                                       const QString& user, const QString& password)
{
    auto parsed = parsePairs(connectionString);
    if (!parsed)
        return parsed.error();
    const Pairs& pairs = *parsed;

    const QString source =
        lookup(pairs, {u"data source", u"server", u"address", u"addr", u"network address"}).trimmed();
    if (source.isEmpty())
        return malformed(QStringLiteral("no Data Source"));
    // The driver name always in braces: names of installed drivers hold blanks.
    QString driverName = driver.isEmpty() ? QStringLiteral("FreeTDS") : driver;
    const bool freeTds = driverName.contains(QStringLiteral("freetds"), Qt::CaseInsensitive);
    driverName.replace(QStringLiteral("}"), QStringLiteral("}}"));
    QString out = QStringLiteral("DRIVER={") + driverName + u'}';
    // host, host\instance or host,port. FreeTDS takes the port apart; other
    // drivers read the address whole.
    const qsizetype comma = source.indexOf(u',');
    if (freeTds && comma >= 0 && !source.contains(u'\\')) {
        out += QStringLiteral(";SERVER=") + odbcValue(source.left(comma).trimmed()) +
               QStringLiteral(";PORT=") + odbcValue(source.mid(comma + 1).trimmed());
    } else {
        out += QStringLiteral(";SERVER=") + odbcValue(source);
    }

    const QString database = lookup(pairs, {u"initial catalog", u"database"});
    if (!database.isEmpty())
        out += QStringLiteral(";DATABASE=") + odbcValue(database);

    // Always a user name: without one FreeTDS falls back to a Kerberos login.
    const QString uid = !user.isEmpty() ? user : lookup(pairs, {u"user id", u"uid", u"user"});
    const QString pwd = !user.isEmpty() || !password.isEmpty() ? password
                                                                : lookup(pairs, {u"password", u"pwd"});
    out += QStringLiteral(";UID=") + odbcValue(uid) + QStringLiteral(";PWD=") + odbcValue(pwd);

    if (freeTds)
        out += QStringLiteral(";TDS_Version=7.4");

    const QString packetSize = lookup(pairs, {u"packet size"}).trimmed();
    if (!packetSize.isEmpty()) {
        bool ok = false;
        const int size = packetSize.toInt(&ok);
        if (!ok || size <= 0)
            return malformed(QStringLiteral("Packet Size '") + packetSize +
                             QStringLiteral("' is not a number"));
        out += (freeTds ? QStringLiteral(";PacketSize=") : QStringLiteral(";Packet Size=")) +
               QString::number(size);
    }

    const QString app = lookup(pairs, {u"application name", u"app"});
    if (!app.isEmpty())
        out += QStringLiteral(";APP=") + odbcValue(app);
    const QString workstation = lookup(pairs, {u"workstation id", u"wsid"});
    if (!workstation.isEmpty())
        out += QStringLiteral(";WSID=") + odbcValue(workstation);

    // "False" here means the data travels in clear, not that the login must:
    // the login is encrypted whenever the server offers it.
    if (freeTds) {
        const bool required = has(pairs, u"use encryption for data") &&
                              isTrue(lookup(pairs, {u"use encryption for data"}));
        out += required ? QStringLiteral(";Encryption=require") : QStringLiteral(";Encryption=request");
    }
    return out;
}

} // namespace corvane::db

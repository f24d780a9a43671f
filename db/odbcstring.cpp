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

QString lookup(const Pairs& pairs, std::initializer_list<const char16_t*> keys)
{
    // The last occurrence wins, as with a key given twice on the command line.
    for (auto it = pairs.crbegin(); it != pairs.crend(); ++it)
        for (const char16_t* key : keys)
            if (it->first == QStringView(key))
                return it->second;
    return {};
}

// Writes key=value pairs for the driver, with braces round a value that would
// otherwise end early. FreeTDS 1.3 reads a braced value up to the first "};"
// and keeps a doubled '}' doubled, unlike the ODBC rule (double the '}') that
// other drivers follow; its plain values run to the next ';' blanks and all.
class OdbcWriter
{
public:
    explicit OdbcWriter(bool freeTds) : m_freeTds(freeTds) {}

    void add(const QString& key, const QString& value) { addRaw(key, quoted(key, value)); }
    void addRaw(const QString& key, const QString& text)
    {
        m_out += (m_out.isEmpty() ? QString() : QStringLiteral(";")) + key + u'=' + text;
    }
    const QString& text() const { return m_out; }
    const QString& problem() const { return m_problem; }

private:
    QString quoted(const QString& key, const QString& value)
    {
        bool plain = !value.contains(u';') && !value.startsWith(u'{');
        if (!m_freeTds)
            plain = plain && !value.contains(u'}') && value.trimmed() == value;
        if (plain)
            return value;
        QString inner = value;
        if (!m_freeTds)
            inner.replace(QStringLiteral("}"), QStringLiteral("}}"));
        else if (inner.contains(QStringLiteral("};")) && m_problem.isEmpty())
            m_problem = QStringLiteral("the driver cannot take a ") + key +
                        QStringLiteral(" that holds \"};\"");
        return u'{' + inner + u'}';
    }

    bool m_freeTds;
    QString m_out;
    QString m_problem;
};

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
    OdbcWriter out(freeTds);
    out.addRaw(QStringLiteral("DRIVER"), u'{' + driverName + u'}');

    // host, host\instance or host,port. FreeTDS takes the port apart; other
    // drivers read the address whole.
    const qsizetype comma = source.indexOf(u',');
    if (freeTds && comma >= 0 && !source.contains(u'\\')) {
        out.add(QStringLiteral("SERVER"), source.left(comma).trimmed());
        out.add(QStringLiteral("PORT"), source.mid(comma + 1).trimmed());
    } else {
        out.add(QStringLiteral("SERVER"), source);
    }

    const QString database = lookup(pairs, {u"initial catalog", u"database"});
    if (!database.isEmpty())
        out.add(QStringLiteral("DATABASE"), database);

    // Always a user name: without one FreeTDS falls back to a Kerberos login,
    // and only SQL Server logins are meant here.
    const bool explicitCredentials = !user.isEmpty();
    const QString uid = explicitCredentials ? user : lookup(pairs, {u"user id", u"uid", u"user"});
    if (uid.isEmpty())
        return malformed(QStringLiteral("no User ID"));
    out.add(QStringLiteral("UID"), uid);
    out.add(QStringLiteral("PWD"), explicitCredentials ? password : lookup(pairs, {u"password", u"pwd"}));

    if (freeTds)
        out.add(QStringLiteral("TDS_Version"), QStringLiteral("7.4"));

    const QString packetSize = lookup(pairs, {u"packet size"}).trimmed();
    if (!packetSize.isEmpty()) {
        bool ok = false;
        const int size = packetSize.toInt(&ok);
        if (!ok || size <= 0)
            return malformed(QStringLiteral("Packet Size '") + packetSize +
                             QStringLiteral("' is not a number"));
        // Other drivers take the packet size as a connection attribute only.
        if (freeTds)
            out.add(QStringLiteral("PacketSize"), QString::number(size));
    }

    const QString app = lookup(pairs, {u"application name", u"app"});
    if (!app.isEmpty())
        out.add(QStringLiteral("APP"), app);
    const QString workstation = lookup(pairs, {u"workstation id", u"wsid"});
    if (!workstation.isEmpty())
        out.add(QStringLiteral("WSID"), workstation);

    // "False" here means the data travels in clear, not that the login must:
    // the login is encrypted whenever the server offers it.
    if (freeTds) {
        const bool required = isTrue(lookup(pairs, {u"use encryption for data"}));
        out.add(QStringLiteral("Encryption"), required ? QStringLiteral("require") : QStringLiteral("request"));
    }
    if (!out.problem().isEmpty())
        return malformed(out.problem());
    return out.text();
}

} // namespace corvane::db

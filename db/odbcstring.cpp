#include "db/odbcconnection.h"

#include "db/connectionstring.h"

#include <QList>
#include <QPair>

namespace corvane::db {

namespace {

Error malformed(const QString& why)
{
    return Error::failure(QStringLiteral("Invalid connection string: ") + why);
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
    auto parsed = ParseConnectionString(connectionString);
    if (!parsed)
        return parsed.error();
    const ConnectionPairs& pairs = *parsed;

    const QString source =
        ConnectionValue(pairs, {u"data source", u"server", u"address", u"addr", u"network address"}).trimmed();
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

    const QString database = ConnectionValue(pairs, {u"initial catalog", u"database"});
    if (!database.isEmpty())
        out.add(QStringLiteral("DATABASE"), database);

    // Always a user name: without one FreeTDS falls back to a Kerberos login,
    // and only SQL Server logins are meant here.
    const bool explicitCredentials = !user.isEmpty();
    const QString uid = explicitCredentials ? user : ConnectionValue(pairs, {u"user id", u"uid", u"user"});
    if (uid.isEmpty())
        return malformed(QStringLiteral("no User ID"));
    out.add(QStringLiteral("UID"), uid);
    out.add(QStringLiteral("PWD"), explicitCredentials ? password : ConnectionValue(pairs, {u"password", u"pwd"}));

    if (freeTds)
        out.add(QStringLiteral("TDS_Version"), QStringLiteral("7.4"));

    const QString packetSize = ConnectionValue(pairs, {u"packet size"}).trimmed();
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

    const QString app = ConnectionValue(pairs, {u"application name", u"app"});
    if (!app.isEmpty())
        out.add(QStringLiteral("APP"), app);
    const QString workstation = ConnectionValue(pairs, {u"workstation id", u"wsid"});
    if (!workstation.isEmpty())
        out.add(QStringLiteral("WSID"), workstation);

    // "False" here means the data travels in clear, not that the login must:
    // the login is encrypted whenever the server offers it.
    if (freeTds) {
        const bool required = isTrue(ConnectionValue(pairs, {u"use encryption for data"}));
        out.add(QStringLiteral("Encryption"), required ? QStringLiteral("require") : QStringLiteral("request"));
    }
    if (!out.problem().isEmpty())
        return malformed(out.problem());
    return out.text();
}

} // namespace corvane::db

#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

class QProcess;
class QTemporaryDir;

namespace corvane::test {

// The TDS test server (tests/tds/tdsserver.py) as a child process on a free
// loopback port, answering from a JSON fixture (format in tests/tds/README.md).
class TdsServer
{
public:
    // Login and databases of defaultFixture().
    static constexpr char16_t DefaultLogin[] = u"corvane";
    static constexpr char16_t DefaultPassword[] = u"secret";
    static constexpr char16_t DefaultDatabase[] = u"fixture";
    static constexpr char16_t OtherDatabase[] = u"other";

    // A fixture with the login corvane/secret and the databases "fixture"
    // (with `rules`, a JSON array) and "other" (with `otherRules`).
    static QByteArray defaultFixture(const QByteArray& rules = "[]",
                                     const QByteArray& otherRules = "[]");

    explicit TdsServer(const QByteArray& fixtureJson = defaultFixture()); // starts the server
    ~TdsServer();                                                         // stops it
    TdsServer(const TdsServer&) = delete;
    TdsServer& operator=(const TdsServer&) = delete;

    bool started() const;
    quint16 port() const;
    // Takes effect for the next batch or connection.
    void setFixture(const QByteArray& fixtureJson);

    // The connection string exactly as the connection dialog builds it, with
    // Data Source 127.0.0.1,<port>.
    QString connectionString(const QString& database = QString::fromUtf16(DefaultDatabase),
                             const QString& login = QString::fromUtf16(DefaultLogin),
                             const QString& password = QString::fromUtf16(DefaultPassword)) const;

    struct Batch
    {
        QString database; // the connection's database when the batch arrived
        QString login;
        QString text;
        int connection = 0; // numbered from 1 in the order the server accepted them
    };
    // Every batch received since the start or the last clearBatches(), in
    // order, without what the driver sends by itself after login.
    QList<Batch> records() const;
    QStringList batches() const;
    void clearBatches();

    // What the server wrote to stderr (unknown packets, fixture mistakes).
    QString log() const;

private:
    QList<Batch> readRecords() const;

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<QProcess> m_process;
    quint16 m_port = 0;
    qsizetype m_skip = 0;
};

} // namespace corvane::test

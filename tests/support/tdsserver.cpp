#include "tests/support/tdsserver.h"

#include "db/connectionstring.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSaveFile>
#include <QTemporaryDir>

namespace corvane::test {

namespace {

QString fixturePath(const QTemporaryDir& dir) { return dir.filePath(QStringLiteral("fixture.json")); }
QString recordPath(const QTemporaryDir& dir) { return dir.filePath(QStringLiteral("record.jsonl")); }
QString logPath(const QTemporaryDir& dir) { return dir.filePath(QStringLiteral("server.log")); }

bool writeWhole(const QString& path, const QByteArray& data)
{
    // The server rereads the fixture per connection and per batch: it must
    // never see a half-written file.
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size() && file.commit();
}

} // namespace

QByteArray TdsServer::defaultFixture(const QByteArray& rules, const QByteArray& otherRules)
{
    return QByteArray(R"({"logins": {"corvane": "secret"}, "databases": {"fixture": )") + rules +
           R"(, "other": )" + otherRules + "}}";
}

TdsServer::TdsServer(const QByteArray& fixtureJson)
    : m_dir(std::make_unique<QTemporaryDir>()), m_process(std::make_unique<QProcess>())
{
    // CORVANE_TDS_KEEP=1 keeps the fixture, the record and the server's log
    // for a look after the test.
    m_dir->setAutoRemove(qEnvironmentVariableIntValue("CORVANE_TDS_KEEP") == 0);
    if (!m_dir->isValid() || !writeWhole(fixturePath(*m_dir), fixtureJson))
        return;
    QFile(recordPath(*m_dir)).open(QIODevice::WriteOnly);
    // A file, not a pipe: nobody reads a pipe while the tests run, and a full
    // one would stop the server.
    m_process->setStandardErrorFile(logPath(*m_dir));
    m_process->start(QStringLiteral(CORVANE_PYTHON),
                     {QStringLiteral(CORVANE_TDS_SERVER), QStringLiteral("--fixture"),
                      fixturePath(*m_dir), QStringLiteral("--record"), recordPath(*m_dir)});
    if (!m_process->waitForStarted(10000))
        return;
    // The first line is the port the server bound.
    QDeadlineTimer deadline(15000);
    while (!m_process->canReadLine() && m_process->state() == QProcess::Running && !deadline.hasExpired())
        m_process->waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime())));
    bool ok = false;
    const int port = m_process->readLine().trimmed().toInt(&ok);
    if (ok && port > 0 && port < 65536)
        m_port = quint16(port);
}

TdsServer::~TdsServer()
{
    if (m_process->state() != QProcess::NotRunning) {
        // Closing its stdin ends the server; kill it if it lingers.
        m_process->closeWriteChannel();
        if (!m_process->waitForFinished(3000)) {
            m_process->kill();
            m_process->waitForFinished(3000);
        }
    }
}

bool TdsServer::started() const
{
    return m_port != 0 && m_process->state() == QProcess::Running;
}

quint16 TdsServer::port() const
{
    return m_port;
}

void TdsServer::setFixture(const QByteArray& fixtureJson)
{
    writeWhole(fixturePath(*m_dir), fixtureJson);
}

QString TdsServer::connectionString(const QString& database, const QString& login,
                                    const QString& password) const
{
    return db::BuildConnectionString(
        {QStringLiteral("127.0.0.1,") + QString::number(m_port), database, login, password},
        db::ComputerName());
}

QList<TdsServer::Batch> TdsServer::readRecords() const
{
    QList<Batch> batches;
    QFile file(recordPath(*m_dir));
    if (!file.open(QIODevice::ReadOnly))
        return batches;
    qsizetype line = 0;
    while (!file.atEnd()) {
        const QByteArray text = file.readLine();
        if (line++ < m_skip)
            continue;
        const QJsonObject record = QJsonDocument::fromJson(text).object();
        if (record.value(QLatin1String("driver")).toBool())
            continue;
        batches.append({record.value(QLatin1String("database")).toString(),
                        record.value(QLatin1String("login")).toString(),
                        record.value(QLatin1String("text")).toString(),
                        record.value(QLatin1String("connection")).toInt()});
    }
    return batches;
}

QList<TdsServer::Batch> TdsServer::records() const
{
    return readRecords();
}

QStringList TdsServer::batches() const
{
    QStringList texts;
    for (const Batch& batch : readRecords())
        texts << batch.text;
    return texts;
}

void TdsServer::clearBatches()
{
    QFile file(recordPath(*m_dir));
    if (!file.open(QIODevice::ReadOnly))
        return;
    qsizetype lines = 0;
    while (!file.atEnd()) {
        file.readLine();
        ++lines;
    }
    m_skip = lines;
}

QString TdsServer::log() const
{
    QFile file(logPath(*m_dir));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace corvane::test

#include "run/runner.h"

#include "run/batches.h"
#include "script/generator.h"

#include <QSet>
#include <QThread>

namespace corvane::run {

namespace {

// How long a column may take before its time is worth a line of its own.
constexpr qint64 NotableMs = 1000;

QString elapsedText(qint64 ms)
{
    const qint64 seconds = ms / 1000;
    if (seconds < 60)
        return QStringLiteral("%1.%2 s").arg(seconds).arg((ms % 1000) / 100);
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600)
        .arg((seconds / 60) % 60, 2, 10, QChar(u'0'))
        .arg(seconds % 60, 2, 10, QChar(u'0'));
}

const int registered = [] {
    qRegisterMetaType<Status>();
    qRegisterMetaType<RunSummary>();
    return 0;
}();

} // namespace

MaskedCount CountMasked(const TData& catalogue)
{
    MaskedCount count;
    QSet<QString> tables;
    // Slot 0 is the database itself.
    for (qsizetype i = 1; i < catalogue.size(); ++i) {
        if (!script::HasBlock(catalogue.at(i).method))
            continue;
        ++count.columns;
        tables.insert(catalogue.at(i).stab);
    }
    count.tables = int(tables.size());
    return count;
}

QString TargetLine(const QString& server, const QString& database, const MaskedCount& count)
{
    const auto plural = [](int n, const char* one, const char* many) -> QString {
        return QString::number(n) + u' ' + QLatin1StringView(n == 1 ? one : many);
    };
    return QStringLiteral("Masking ") + plural(count.columns, "column", "columns") +
           QStringLiteral(" in ") + plural(count.tables, "table", "tables") +
           QStringLiteral(" of database [") + database + QStringLiteral("] on server [") + server +
           QStringLiteral("].");
}

Runner::Runner(QObject* parent) : QObject(parent)
{
    (void)registered;
}

Runner::~Runner()
{
    if (m_thread) {
        cancel();
        m_thread->wait();
        delete m_thread;
    }
}

bool Runner::start(RunPlan plan)
{
    if (m_running.exchange(true))
        return false;
    if (m_thread) {
        m_thread->wait();
        delete m_thread;
    }
    m_thread = QThread::create([this, plan = std::move(plan)] {
        const RunSummary summary = work(plan);
        m_running = false;
        emit finished(summary);
    });
    m_thread->start();
    return true;
}

RunSummary Runner::run(const RunPlan& plan)
{
    if (m_running.exchange(true)) {
        RunSummary busy;
        busy.error = Error::failure(QStringLiteral("A run is going already."));
        return busy;
    }
    const RunSummary summary = work(plan);
    m_running = false;
    emit finished(summary);
    return summary;
}

void Runner::cancel()
{
    if (!m_running)
        return;
    m_stop = true;
    const std::lock_guard lock(m_connectionLock);
    if (m_connection)
        m_connection->cancel();
}

void Runner::setConnection(std::unique_ptr<db::Connection> connection)
{
    std::unique_ptr<db::Connection> old;
    {
        const std::lock_guard lock(m_connectionLock);
        old = std::exchange(m_connection, std::move(connection));
    }
    if (old)
        old->close();
}

Status Runner::sendBatch(const QString& sql)
{
    // Only the worker replaces the connection, so it may be used unlocked here.
    return m_connection ? m_connection->execute(sql)
                        : Status(Error::failure(QStringLiteral("The connection is not open.")));
}

Status Runner::dropSplit(const RunPlan& plan)
{
    Status dropped = sendBatch(SplitDropBatch());
    if (dropped || !m_stop)
        return dropped;
    // A batch cut short by a stop may leave the connection unusable; the
    // function must go all the same.
    auto fresh = db::openConnection(plan.connect, plan.connectionString);
    if (!fresh)
        return fresh.error();
    setConnection(std::move(*fresh));
    return sendBatch(SplitDropBatch());
}

RunSummary Runner::work(const RunPlan& plan)
{
    m_stop = false;
    QElapsedTimer clock;
    clock.start();
    RunSummary summary;
    summary.columns = CountMasked(plan.catalogue).columns;
    const auto finish = [&]() -> RunSummary {
        setConnection(nullptr);
        summary.elapsedMs = clock.elapsed();
        return summary;
    };

    emit started(summary.columns);
    emit progressed(0, summary.columns);
    // Nothing to do is said, and nothing reaches the server.
    if (summary.columns == 0)
        return finish();

    auto opened = db::openConnection(plan.connect, plan.connectionString);
    if (!opened) {
        summary.error = opened.error();
        return finish();
    }
    (*opened)->setCommandTimeout(m_commandTimeout);
    setConnection(std::move(*opened));
    if (m_stop) {
        summary.stopped = true;
        return finish();
    }
    if (Status installed = sendBatch(SplitInstallationBatch()); !installed) {
        summary.error = installed.error();
        summary.stopped = m_stop;
        return finish();
    }

    // Word lists are read here, before the first column is sent.
    const RunBatches batches(plan.catalogue, plan.seed);
    int done = 0;
    for (qsizetype i = 1; i < plan.catalogue.size() && !m_stop; ++i) {
        const TColumnRec& slot = plan.catalogue.at(i);
        auto batch = batches.batch(i);
        // A missing word list or a bad date ends the run here; the columns
        // sent so far stay applied.
        if (!batch) {
            summary.error = batch.error();
            break;
        }
        if (batch->isEmpty())
            continue;
        emit columnStarted(int(i));
        QElapsedTimer columnClock;
        columnClock.start();
        const Result<int> misses =
            m_connection ? ExecuteBatch(*m_connection, *batch, slot.method)
                         : Result<int>(Error::failure(QStringLiteral("The connection is not open.")));
        Status executed = misses ? Status() : Status(misses.error());
        if (!executed && m_stop)
            executed = Error::failure(StoppedReason);
        if (executed) {
            ++summary.succeeded;
            emit lineAdded(SuccessLine(slot));
            if (*misses > 0)
                emit lineAdded(MissLine(*misses));
        } else {
            ++summary.failed;
            emit lineAdded(FailedLine(slot));
            emit lineAdded(ReasonLine(executed.error()));
        }
        if (const qint64 ms = columnClock.elapsed(); ms > NotableMs)
            emit lineAdded(QStringLiteral("     took ") + elapsedText(ms));
        emit columnFinished(int(i), executed);
        emit progressed(++done, summary.columns);
    }
    summary.stopped = m_stop;

    if (Status dropped = dropSplit(plan); !dropped && !summary.error)
        summary.error = dropped.error();
    return finish();
}

} // namespace corvane::run

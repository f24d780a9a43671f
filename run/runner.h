#pragma once

#include "base/result.h"
#include "catalogue/consttypes.h"
#include "db/connection.h"

#include <QElapsedTimer>
#include <QObject>

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>

class QThread;

namespace corvane::run {

// What one run works on: copies taken at the start, so that the catalogue
// may change in the window while the run goes on.
struct RunPlan
{
    TData catalogue;
    std::int32_t seed = DefaultSeed;
    QString connectionString; // the catalogue's own database
    db::ConnectionFactory connect;
};

// How a run ended.
struct RunSummary
{
    int columns = 0;   // masked columns of the plan
    int succeeded = 0;
    int failed = 0;
    bool stopped = false;          // the operator stopped it
    std::optional<Error> error;    // what ended the run early, if anything did
    qint64 elapsedMs = 0;

    bool complete() const { return !error && !stopped && failed == 0; }
};

// The reason logged under a column that a stop cut short.
inline const QString StoppedReason = QStringLiteral("Stopped by the operator.");

// The masked columns of a catalogue and the tables that hold them.
struct MaskedCount
{
    int columns = 0;
    int tables = 0;
};
MaskedCount CountMasked(const TData& catalogue);

// The one line that names what a run is about to change.
QString TargetLine(const QString& server, const QString& database, const MaskedCount& count);

// Anonymises the database directly: installs the split function, sends one
// batch per masked column over a connection of its own, reports each column
// as its batch ends, and drops the split function again. A failed column
// does not end the run. start() runs on a worker thread and reports through
// queued signals; run() does the same work on the calling thread.
class Runner : public QObject
{
    Q_OBJECT
public:
    explicit Runner(QObject* parent = nullptr);
    ~Runner() override;

    // Seconds that one batch may run before it counts as failed; 0, the
    // default, lets a column's batch run until it ends or the run is stopped.
    void setCommandTimeout(int seconds) { m_commandTimeout = seconds; }

    // Starts a run on a worker thread; false, and nothing happens, while a
    // run is going.
    bool start(RunPlan plan);
    RunSummary run(const RunPlan& plan);
    bool isRunning() const { return m_running; }

    // Stops the run: the running batch is cancelled on the server, no further
    // column starts, and the split function is dropped. Callable from any thread.
    void cancel();

signals:
    void started(int columns);
    void columnStarted(int slot);
    void columnFinished(int slot, const corvane::Status& status);
    // One line of the log, as soon as it is known.
    void lineAdded(const QString& line);
    // `done` of `columns` masked columns have been sent; first with 0.
    void progressed(int done, int columns);
    void finished(const corvane::run::RunSummary& summary);

private:
    RunSummary work(const RunPlan& plan);
    Status sendBatch(const QString& sql);
    Status dropSplit(const RunPlan& plan);
    void setConnection(std::unique_ptr<db::Connection> connection);

    int m_commandTimeout = 0; // none: a long column is ended with a stop
    std::atomic<bool> m_running = false;
    std::atomic<bool> m_stop = false;
    std::mutex m_connectionLock; // guards the pointer against cancel() from another thread
    std::unique_ptr<db::Connection> m_connection;
    QThread* m_thread = nullptr;
};

} // namespace corvane::run

Q_DECLARE_METATYPE(corvane::Status)
Q_DECLARE_METATYPE(corvane::run::RunSummary)

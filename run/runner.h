#pragma once

#include "catalogue/result.h"
#include "catalogue/sharedstate.h"
#include "db/connection.h"

#include <QObject>

#include <memory>

namespace corvane::run {

// Anonymises the database directly: installs the split function, sends one
// batch per masked column over a connection of its own, logs each column as
// its batch ends, and drops the split function again.
class Runner : public QObject
{
    Q_OBJECT
public:
    explicit Runner(QObject* parent = nullptr);
    ~Runner() override;

    // Seconds that one batch may run before it counts as failed; 0, the
    // default, lets a column's batch run until it ends or the run is stopped.
    void setCommandTimeout(int seconds) { m_commandTimeout = seconds; }
    int commandTimeout() const { return m_commandTimeout; }

    // One run over the catalogue, the seed and the catalogue's own database as
    // they are now. A failed column does not end the run; an error returned
    // here did, and is the operator's to see. On success the connection is
    // closed; a run that ended early leaves it open until the next run.
    Status run(const SharedState& state);

    bool isConnected() const;

signals:
    // One line of the log, as soon as it is known.
    void lineAdded(const QString& line);
    // `done` of `columns` masked columns have been sent; first with 0 when
    // the run starts.
    void progressed(int done, int columns);

private:
    Status openConnection(const SharedState& state);
    void log(const QString& line);

    std::unique_ptr<db::Connection> m_connection;
    int m_commandTimeout = 0;
};

} // namespace corvane::run

#include "run/runner.h"

#include "run/batches.h"
#include "script/generator.h"

#include <algorithm>

namespace corvane::run {

Runner::Runner(QObject* parent) : QObject(parent) {}

Runner::~Runner() = default;

bool Runner::isConnected() const
{
    return m_connection && m_connection->isOpen();
}

Status Runner::openConnection(const SharedState& state)
{
    if (m_connection)
        m_connection->close();
    m_connection.reset();
    if (!state.connect)
        return Error::failure(QStringLiteral("No database connection can be made."));
    m_connection = state.connect();
    if (!m_connection)
        return Error::failure(QStringLiteral("No database connection can be made."));
    m_connection->setLoginTimeout(db::DefaultLoginTimeout);
    m_connection->setCommandTimeout(m_commandTimeout);
    // The catalogue's own database, never that of a later login: a login that
    // was cancelled keeps the old catalogue, whose batches belong to the old
    // database.
    return m_connection->open(state.CatalogueConnectionString);
}

void Runner::log(const QString& line)
{
    emit lineAdded(line);
}

Status Runner::run(const SharedState& state)
{
    // A snapshot: the catalogue must not change under a run that yields to
    // the event loop between its batches.
    const TData catalogue = state.ColumnCatalogue;
    const std::int32_t seed = state.RandomSeed;

    const int columns = int(std::count_if(
        catalogue.cbegin() + std::min<qsizetype>(1, catalogue.size()), catalogue.cend(),
        [](const TColumnRec& slot) { return script::HasBlock(slot.method); }));

    emit progressed(0, columns);
    if (Status opened = openConnection(state); !opened)
        return opened;
    if (Status installed = m_connection->execute(SplitInstallationBatch()); !installed)
        return installed;

    const RunBatches batches(catalogue, seed);
    int done = 0;
    // Slot 0 is the database itself.
    for (qsizetype i = 1; i < catalogue.size(); ++i) {
        const TColumnRec& slot = catalogue.at(i);
        auto batch = batches.batch(i);
        // A missing word list or a bad date ends the run here; the batches sent
        // so far stay applied and the split function stays installed.
        if (!batch)
            return batch.error();
        if (batch->isEmpty())
            continue;
        if (auto executed = ExecuteBatch(*m_connection, *batch, slot.method); executed) {
            log(SuccessLine(slot));
            if (*executed > 0)
                log(MissLine(*executed));
        } else {
            log(FailedLine(slot));
            log(ReasonLine(executed.error()));
        }
        if (script::HasBlock(slot.method))
            emit progressed(++done, columns);
    }

    if (Status dropped = m_connection->execute(SplitDropBatch()); !dropped)
        return dropped;
    m_connection->close();
    return {};
}

} // namespace corvane::run

#include "catalogue/workspace.h"

#include "catalogue/loader.h"
#include "db/connectionstring.h"

namespace corvane {

Result<LoadedDatabase> LoadDatabase(const db::ConnectionFactory& connect,
                                    const QString& connectionString,
                                    const std::function<void(db::Connection&)>& alsoRead)
{
    std::unique_ptr<db::Connection> connection = connect ? connect() : nullptr;
    if (!connection)
        return Error::failure(QStringLiteral("No database connection is available."));
    connection->setLoginTimeout(db::DefaultLoginTimeout);
    LoadedDatabase loaded;
    const Status status =
        LoadCatalogue(*connection, connectionString, loaded.catalogue, loaded.tree);
    if (status && alsoRead)
        alsoRead(*connection);
    const bool connected = connection->isOpen();
    connection->close();
    if (!status) {
        // The operator needs to know whether the server was reached at all.
        Error error = status.error();
        error.message = (connected ? QStringLiteral("The schema could not be read. ")
                                   : QStringLiteral("Connection failed. ")) +
                        error.message;
        return error;
    }
    loaded.connectionString = connectionString;
    return loaded;
}

Workspace::Workspace(db::ConnectionFactory connect, QObject* parent)
    : QObject(parent), m_connect(std::move(connect))
{
}

QString Workspace::databaseName() const
{
    // The name the server gave, which the tree's first node shows.
    if (!m_tree.isEmpty())
        return m_tree.nodes.first().text;
    return db::TargetOf(m_connectionString).database;
}

QString Workspace::serverName() const
{
    return db::TargetOf(m_connectionString).server.trimmed();
}

void Workspace::replace(LoadedDatabase loaded)
{
    m_catalogue = std::move(loaded.catalogue);
    m_tree = std::move(loaded.tree);
    m_connectionString = std::move(loaded.connectionString);
    m_currentTable.clear();
    emit catalogueReplaced();
}

void Workspace::replaceChoices(const TData& catalogue)
{
    const qsizetype n = std::min(catalogue.size(), m_catalogue.size());
    for (qsizetype i = 0; i < n; ++i) {
        TColumnRec& slot = m_catalogue[i];
        slot.method = catalogue.at(i).method;
        slot.param1 = catalogue.at(i).param1;
        slot.param2 = catalogue.at(i).param2;
    }
    emit choicesReplaced();
}

void Workspace::editSlot(int slot, const std::function<void(TColumnRec&)>& change)
{
    if (slot < 0 || slot >= m_catalogue.size())
        return;
    change(m_catalogue[slot]);
    emit methodChanged(slot);
}

void Workspace::setSeed(std::int32_t seed)
{
    if (seed == m_seed)
        return;
    m_seed = seed;
    emit seedChanged();
}

} // namespace corvane

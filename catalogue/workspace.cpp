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

namespace {

bool sameChoice(const TColumnRec& a, const TColumnRec& b)
{
    return a.method == b.method && a.param1 == b.param1 && a.param2 == b.param2;
}

} // namespace

void Workspace::replace(LoadedDatabase loaded, const CarriedChoices& carried)
{
    m_catalogue = std::move(loaded.catalogue);
    m_tree = std::move(loaded.tree);
    m_connectionString = std::move(loaded.connectionString);
    m_currentTable.clear();
    if (carried.kept == 0) {
        setProjectFile(QString());
        setModified(false);
    } else if (!carried.sameColumns || carried.lost > 0) {
        // The project file no longer holds what the slots hold.
        setModified(true);
    }
    emit catalogueReplaced();
}

void Workspace::replaceChoices(const TData& catalogue)
{
    const qsizetype n = std::min(catalogue.size(), m_catalogue.size());
    bool changed = false;
    for (qsizetype i = 0; i < n; ++i) {
        TColumnRec& slot = m_catalogue[i];
        if (sameChoice(slot, catalogue.at(i)))
            continue;
        slot.method = catalogue.at(i).method;
        slot.param1 = catalogue.at(i).param1;
        slot.param2 = catalogue.at(i).param2;
        changed = true;
    }
    if (changed)
        setModified(true);
    emit choicesReplaced();
}

void Workspace::editSlot(int slot, const std::function<void(TColumnRec&)>& change)
{
    if (slot < 0 || slot >= m_catalogue.size())
        return;
    const TColumnRec before = m_catalogue.at(slot);
    change(m_catalogue[slot]);
    // The editor stores again what it shows, on every keystroke: only a
    // choice that differs is a change.
    if (!sameChoice(before, m_catalogue.at(slot)))
        setModified(true);
    emit methodChanged(slot);
}

void Workspace::markSaved(const QString& projectFile)
{
    setProjectFile(projectFile);
    setModified(false);
}

void Workspace::setModified(bool modified)
{
    if (modified == m_modified)
        return;
    m_modified = modified;
    emit modifiedChanged(modified);
}

void Workspace::setProjectFile(const QString& projectFile)
{
    if (projectFile == m_projectFile)
        return;
    m_projectFile = projectFile;
    emit projectFileChanged();
}

void Workspace::setSeed(std::int32_t seed)
{
    if (seed == m_seed)
        return;
    m_seed = seed;
    emit seedChanged();
}

} // namespace corvane

#pragma once

#include "base/result.h"
#include "catalogue/choices.h"
#include "catalogue/consttypes.h"
#include "catalogue/schematree.h"
#include "db/connection.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>

namespace corvane {

// What one successful login read: the catalogue, its tree and where both came from.
struct LoadedDatabase
{
    TData catalogue;
    SchemaTree tree;
    QString connectionString;
};

// The login-and-load flow: connects with `connect`, reads the schema and
// closes the connection again. The window runs it on a worker thread, the
// command line directly.
// `alsoRead`, when given, reads more on the open connection after the schema
// (it cannot fail the load: what it could not read it says itself).
Result<LoadedDatabase> LoadDatabase(const db::ConnectionFactory& connect,
                                    const QString& connectionString,
                                    const std::function<void(db::Connection&)>& alsoRead = {});

// The state that the pages work on: the catalogue, its tree, the seed and the
// database the catalogue came from. It is the only place that changes them,
// and says so, so that every page shows the state of the moment.
class Workspace : public QObject
{
    Q_OBJECT
public:
    explicit Workspace(db::ConnectionFactory connect = {}, QObject* parent = nullptr);

    const TData& catalogue() const { return m_catalogue; }
    const SchemaTree& tree() const { return m_tree; }
    std::int32_t seed() const { return m_seed; }
    // The connection string the catalogue was read with; empty before the
    // first load. Every database call on the catalogue's behalf goes there.
    const QString& connectionString() const { return m_connectionString; }
    const db::ConnectionFactory& connector() const { return m_connect; }
    // The database and server named in the connection string.
    QString databaseName() const;
    QString serverName() const;

    // The text of the table node the operator works on, or empty.
    const QString& currentTable() const { return m_currentTable; }
    void setCurrentTable(const QString& text) { m_currentTable = text; }

    // Whether the choices differ from those last saved to or loaded from a
    // project file (or, with none, from the fresh catalogue's).
    bool isModified() const { return m_modified; }
    // The project file the choices were last saved to or loaded from; empty
    // for none.
    const QString& projectFile() const { return m_projectFile; }

    // Takes over a freshly loaded database. `carried` tells what its
    // catalogue took over from the one it replaces (CarryChoices): with no
    // choice carried it starts afresh, without a project; with choices
    // carried the project stays, and the choices count as saved only when
    // they were before and the columns are the very same.
    void replace(LoadedDatabase loaded, const CarriedChoices& carried = {});
    // New method choices for the same columns, as a loaded project brings:
    // only method and parameters are taken from `catalogue`.
    void replaceChoices(const TData& catalogue);
    // Changes one slot's method or parameters.
    void editSlot(int slot, const std::function<void(TColumnRec&)>& change);
    void setSeed(std::int32_t seed);
    // The choices are now those of `projectFile`: just saved there or loaded
    // from it.
    void markSaved(const QString& projectFile);

signals:
    // A new database: the tree and every column may differ.
    void catalogueReplaced();
    // The same columns with other choices, all at once (a loaded project).
    void choicesReplaced();
    void methodChanged(int slot);
    void seedChanged();
    void modifiedChanged(bool modified);
    void projectFileChanged();

private:
    db::ConnectionFactory m_connect;
    TData m_catalogue;
    SchemaTree m_tree;
    QString m_connectionString;
    QString m_currentTable;
    std::int32_t m_seed = DefaultSeed;
    QString m_projectFile;
    bool m_modified = false;

    void setModified(bool modified);
    void setProjectFile(const QString& projectFile);
};

} // namespace corvane

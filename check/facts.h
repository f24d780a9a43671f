#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

namespace corvane::check {

// What the server says about one column beyond the schema query.
struct ColumnFacts
{
    QString type;      // the system type's name: "nvarchar", "decimal", "timestamp"
    int maxLength = 0; // bytes as sys.columns counts them, -1 for the max types
    int precision = 0;
    int scale = 0;
    bool nullable = true;
    bool identity = false;
    bool computed = false;
    bool generatedAlways = false; // a period column of a system-versioned table
    bool sparse = false;

    // The narrowest unique index or constraint (primary keys included) that
    // has the column as a key column; empty name when there is none.
    QString uniqueIndex;
    int uniqueColumns = 0;
    bool uniqueFiltered = false;

    // Enabled foreign keys of any table that reference the column, and those
    // of them whose ON UPDATE rule is not CASCADE.
    int referencedBy = 0;
    int referencedWithoutCascade = 0;
    QString blockingKey; // the first of those by name

    int foreignKeys = 0;       // foreign keys the column belongs to
    int foreignKeyColumns = 0; // columns of the widest of them

    bool rowversion() const { return type == u"timestamp"; }
    // Characters the column holds; -1 without a limit, 0 for types without one.
    int characterLength() const;
    // As the type is declared: "nvarchar(50)", "decimal(10,2)", "datetime2(3)".
    QString declaredType() const;
};

struct TableFacts
{
    std::optional<std::int64_t> rows; // unknown when the partitions were not visible
    int triggers = 0;                 // enabled UPDATE triggers
    QString firstTrigger;
    bool temporal = false; // system-versioned
    bool memoryOptimized = false;
    QHash<QString, ColumnFacts> columns; // by the column's exact name
};

// The groups of facts that a login may be unable to read; each is read (or
// left unknown) as a whole.
enum class FactGroup : unsigned {
    Columns = 1u << 0,
    UniqueIndexes = 1u << 1,
    ReferencingKeys = 1u << 2,
    OwnKeys = 1u << 3,
    Triggers = 1u << 4,
    RowCounts = 1u << 5,
};

QString FactGroupName(FactGroup group); // "row count", "triggers", ...

class Facts
{
public:
    // Facts that were never read: every group unknown.
    static Facts unknown(const QString& reason);

    bool known(FactGroup group) const { return !(m_unknown & unsigned(group)); }
    void setUnknown(FactGroup group, const QString& reason);
    // Why the unknown groups could not be read (the server's message).
    QString unknownReason() const { return m_reason; }
    // Names of the unknown groups, in a fixed order.
    QStringList unknownNames() const;

    TableFacts& table(const QString& schema, const QString& table);
    const TableFacts* findTable(const QString& schema, const QString& table) const;
    const ColumnFacts* findColumn(const QString& schema, const QString& table,
                                  const QString& column) const;
    int tableCount() const { return int(m_tables.size()); }

private:
    static QString key(const QString& schema, const QString& table);

    QHash<QString, TableFacts> m_tables; // by schema and table, exact case
    unsigned m_unknown = 0;
    QString m_reason;
};

} // namespace corvane::check

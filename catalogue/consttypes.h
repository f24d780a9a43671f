#pragma once

#include <QString>
#include <QVector>

#include <cstdint>

namespace corvane {

// One catalogue slot. Names keep their whole text; the two parameters hold at
// most ParamCapacity characters (longer values are cut when stored).
struct TColumnRec
{
    QString stab;            // schema, dot, table: as shown and stored, never split
    QString schema;          // the table's schema, as the server names it
    QString tab;             // the table's name, as the server names it
    QString col;             // column name
    QString PK_schema;       // schema of the referenced table of a foreign-key column
    QString PK_table;        // referenced table of a foreign-key column, else empty
    QString PK_column;       // referenced key column, else empty
    QString Constraint_Name; // foreign-key constraint, else empty
    QString PK;              // the column's name when it is part of the primary key
    QString typ;             // data type name as the server reports it
    QString isnull;          // YES or NO
    QString char_max;        // maximum character length, -1 for max types, empty if none
    std::int32_t method = 0;
    QString param1;
    QString param2;

    void setParam1(const QString& text);
    void setParam2(const QString& text);
    bool isForeignKey() const { return !PK_table.isEmpty(); }
};

constexpr int ParamCapacity = 100;

// Indexed by the absolute index of the tree node: 0 is the database node, table
// nodes have empty slots.
using TData = QVector<TColumnRec>;

using MethodCode = std::int32_t;
constexpr MethodCode NoMethodYet = -1;

enum TypeCategory : int { tcOther = 0, tcInteger = 1, tcDateTime = 2, tcFloat = 3, tcVarchar = 4 };

TypeCategory GetTypeCategory(const QString& typ);
QString GetMethodName(MethodCode code);
QString GetMetadataQuery();

// The display name shared by every code that leaves the column as it is.
inline const QString NoMaskName = QStringLiteral("No mask");

inline const QString LoremText = QStringLiteral(
    "Lorem ipsum dolor sit amet, consectetur adipisicing elit, sed do eiusmod tempor incididunt "
    "ut labore et dolore magna aliqua.");
constexpr std::int32_t DefaultSeed = 1;
constexpr int ForeignKeyHint = 1;

} // namespace corvane

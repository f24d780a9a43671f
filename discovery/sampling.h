#pragma once

#include "catalogue/consttypes.h"
#include "db/connection.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>

namespace corvane::discovery {

// Samples are small by design: enough to tell the shape of the values,
// never a copy of the table.
constexpr int MaxSampleRows = 1000;
constexpr int DefaultSampleRows = 20;

// Whether a column's values are read at all: binary, spatial and xml data,
// and unbounded texts (free text, whose values prove nothing), are not.
bool IsSampled(const TColumnRec& column);

// "select TOP (20) [a],[b] from [schema].[table]" for the given column columnSlots,
// which belong to one table. `rows` is clamped to 1..MaxSampleRows.
QString SampleQuery(const TData& catalogue, const QVector<int>& columnSlots, int rows);

// The values read from one table, column by column.
struct TableSample
{
    QString stab;
    QVector<int> columnSlots;           // the sampled columns' columnSlots
    QVector<QStringList> values;  // per slot, in the order of `columnSlots`
    QString error;                // why the table could not be read, else empty
};

// Reads a sample of every table that holds one of `columnSlots`, table by
// table in slot order. A table that cannot be read (no permission, gone)
// keeps its error and the others are read. `progress`, when given, is called
// before each table with the tables done and their number, and stops the
// work when it returns false.
QVector<TableSample> SampleTables(db::Connection& connection, const TData& catalogue,
                                  const QVector<int>& columnSlots, int rows,
                                  const std::function<bool(int, int)>& progress = {});

} // namespace corvane::discovery

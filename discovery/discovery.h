#pragma once

#include "catalogue/consttypes.h"
#include "db/connection.h"
#include "discovery/finding.h"

#include <QDate>
#include <QStringList>
#include <QVector>

#include <functional>

namespace corvane::discovery {

struct DiscoveryRequest
{
    QVector<int> columnSlots;       // the columns to look at; empty: every column
    QVector<int> sampleSlots; // the columns whose values are read; empty: none
    int sampleRows = 0;       // how many rows of each of their tables
    QDate today;              // for the birth-date range; invalid: the current date
};

struct DiscoveryReport
{
    QVector<Finding> findings; // the columns with personal data, in slot order
    QStringList notes;         // what could not be read, one line each
    bool stopped = false;      // the progress callback ended the sampling
};

// Classifies by names and types, then, with a connection, adds the server's
// sensitivity labels and the evidence of sampled values. Nothing that cannot
// be read stops the rest: it becomes a note.
DiscoveryReport Discover(const TData& catalogue, db::Connection* connection,
                         const DiscoveryRequest& request,
                         const std::function<bool(int, int)>& progress = {});

// The column columnSlots of the tables that match `patterns`: comma-separated
// wildcards (* and ?), case-insensitive, matched against "schema.table", or
// against the table's name alone when the pattern holds no dot.
QVector<int> SlotsOfTables(const TData& catalogue, const QString& patterns);

} // namespace corvane::discovery

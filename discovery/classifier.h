#pragma once

#include "catalogue/consttypes.h"
#include "discovery/finding.h"
#include "discovery/identifier.h"

#include <QVector>

#include <memory>

namespace corvane::discovery {

// Reads a column's name, its table's name and its type and says what kind of
// personal data it holds, if any. Built once; classify() is thread-safe.
class Classifier
{
public:
    Classifier();
    ~Classifier();
    Classifier(const Classifier&) = delete;
    Classifier& operator=(const Classifier&) = delete;

    // The shared instance (the word tables are built on first use).
    static const Classifier& instance();

    // By names and type alone. Slots without a column name (the database and
    // table nodes) and key columns that only point elsewhere give no finding.
    Finding classify(const TColumnRec& column) const;

    // What a table's name says about its columns: whether its rows are
    // people or addresses, or records of one kind of contact data.
    struct TableContext
    {
        QString table;
        bool person = false;
        bool address = false;
        Category entity = Category::None;
    };
    TableContext tableContext(const TColumnRec& column) const;
    // As classify(), with the context of the column's table already read.
    Finding classify(const TColumnRec& column, const TableContext& table) const;

    struct Match
    {
        int start;
        int end;
        int stem; // index into Vocabulary()
    };
    // Every stem found in `words` where its place rule allows it.
    void findStems(const Words& words, QVarLengthArray<Match, 16>& matches) const;

private:
    struct Trie;
    std::unique_ptr<Trie> m_trie;
};

// The findings of personal data among the catalogue's columns by names and
// types, in slot order; `columnSlots`, when given, limits the work to those
// slot indexes. Columns without personal data get no entry.
QVector<Finding> ClassifyCatalogue(const TData& catalogue, const QVector<int>* columnSlots = nullptr);

} // namespace corvane::discovery

#pragma once

#include "catalogue/schematree.h"

#include <QString>
#include <QVector>

namespace corvane {

// Which nodes of a database tree are shown under a filter text: the tables
// and columns whose names hold the text, in any letter case. A table that
// matches keeps all its columns; a column that matches keeps its table; the
// database node always stays. Without a text every node is shown and the
// answers are the tree's own.
class TreeFilter
{
public:
    // Works out the shown nodes of `tree` for `text`, in one pass.
    void apply(const SchemaTree& tree, const QString& text);
    const QString& text() const { return m_text; }
    bool isActive() const { return !m_text.isEmpty(); }

    // The node's row among its parent's shown children; -1 when it is hidden.
    int row(const SchemaTree& tree, int node) const;
    // As SchemaTree::child and childCount, over the shown nodes only.
    int child(const SchemaTree& tree, int parent, int row) const;
    int childCount(const SchemaTree& tree, int parent) const;

private:
    QString m_text;
    QVector<int> m_row;        // per node: row among the shown siblings, -1 hidden
    QVector<int> m_tables;     // shown table nodes, in order
    QVector<int> m_columns;    // shown column nodes, grouped by table in order
    QVector<int> m_firstChild; // per shown table: start of its columns; one more at the end
};

} // namespace corvane

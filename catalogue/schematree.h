#pragma once

#include <QString>
#include <QVector>

namespace corvane {

// The database tree as plain data. Nodes are stored in display order, so a
// node's position in `nodes` is its absolute index, which is also the index of
// its catalogue slot: node 0 is the database, then each table followed by its
// columns.
struct SchemaTree
{
    enum Level { DatabaseLevel = 0, TableLevel = 1, ColumnLevel = 2 };

    struct Node
    {
        QString text;
        int level = DatabaseLevel;
        int parent = -1; // absolute index of the parent, -1 for the database node
        int row = 0;     // position among the parent's children
        int childCount = 0;
    };

    QVector<Node> nodes;
    QVector<int> tables; // absolute indexes of the table nodes, in order

    bool isEmpty() const { return nodes.isEmpty(); }
    void clear()
    {
        nodes.clear();
        tables.clear();
    }
    // Absolute index of the child at `row` of node `parent` (-1 for the top level).
    int child(int parent, int row) const;
    int childCount(int parent) const;

    int addDatabase(const QString& name);
    int addTable(const QString& text);
    int addColumn(int table, const QString& text);
};

} // namespace corvane

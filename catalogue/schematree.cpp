#include "catalogue/schematree.h"

namespace corvane {

int SchemaTree::child(int parent, int row) const
{
    if (parent < 0)
        return row == 0 && !nodes.isEmpty() ? 0 : -1;
    const Node& node = nodes.at(parent);
    if (row < 0 || row >= node.childCount)
        return -1;
    if (node.level == DatabaseLevel)
        return tables.at(row);
    return parent + 1 + row; // a table's columns follow it directly
}

int SchemaTree::childCount(int parent) const
{
    if (parent < 0)
        return nodes.isEmpty() ? 0 : 1;
    return nodes.at(parent).childCount;
}

int SchemaTree::addDatabase(const QString& name)
{
    clear();
    nodes.append({name, DatabaseLevel, -1, 0, 0});
    return 0;
}

int SchemaTree::addTable(const QString& text)
{
    Node& db = nodes[0];
    nodes.append({text, TableLevel, 0, db.childCount++, 0});
    tables.append(nodes.size() - 1);
    return nodes.size() - 1;
}

int SchemaTree::addColumn(int table, const QString& text)
{
    Node& t = nodes[table];
    nodes.append({text, ColumnLevel, table, t.childCount++, 0});
    return nodes.size() - 1;
}

} // namespace corvane

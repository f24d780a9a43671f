#include "ui/main/treefilter.h"

namespace corvane {

// The nodes lie in display order: each table is followed by its columns.
void TreeFilter::apply(const SchemaTree& tree, const QString& text)
{
    m_text = text;
    m_row.clear();
    m_tables.clear();
    m_columns.clear();
    m_firstChild.clear();
    if (!isActive() || tree.isEmpty())
        return;
    m_row.fill(-1, tree.nodes.size());
    m_row[0] = 0;
    const auto matches = [&](const QString& name) {
        return name.contains(m_text, Qt::CaseInsensitive);
    };
    for (const int table : tree.tables) {
        const SchemaTree::Node& node = tree.nodes.at(table);
        const bool wholeTable = matches(node.text);
        const int first = int(m_columns.size());
        for (int c = table + 1; c <= table + node.childCount; ++c) {
            if (wholeTable || matches(tree.nodes.at(c).text)) {
                m_row[c] = int(m_columns.size()) - first;
                m_columns.append(c);
            }
        }
        if (wholeTable || m_columns.size() > first) {
            m_row[table] = int(m_tables.size());
            m_tables.append(table);
            m_firstChild.append(first);
        }
    }
    m_firstChild.append(int(m_columns.size()));
}

int TreeFilter::row(const SchemaTree& tree, int node) const
{
    if (node < 0 || node >= tree.nodes.size())
        return -1;
    if (!isActive())
        return tree.nodes.at(node).row;
    return m_row.value(node, -1);
}

int TreeFilter::child(const SchemaTree& tree, int parent, int row) const
{
    if (!isActive() || parent < 0)
        return tree.child(parent, row);
    if (row < 0 || row >= childCount(tree, parent))
        return -1;
    if (tree.nodes.at(parent).level == SchemaTree::DatabaseLevel)
        return m_tables.at(row);
    return m_columns.at(m_firstChild.at(m_row.at(parent)) + row);
}

int TreeFilter::childCount(const SchemaTree& tree, int parent) const
{
    if (!isActive() || parent < 0)
        return tree.childCount(parent);
    if (parent >= tree.nodes.size() || m_row.value(parent, -1) < 0)
        return 0;
    switch (tree.nodes.at(parent).level) {
    case SchemaTree::DatabaseLevel:
        return int(m_tables.size());
    case SchemaTree::TableLevel: {
        const int shown = m_row.at(parent);
        return m_firstChild.at(shown + 1) - m_firstChild.at(shown);
    }
    default:
        return 0;
    }
}

} // namespace corvane

#include "ui/main/schematreemodel.h"

namespace corvane {

SchemaTreeModel::SchemaTreeModel(QObject* parent) : QAbstractItemModel(parent) {}

void SchemaTreeModel::setTree(SchemaTree tree)
{
    beginResetModel();
    m_tree = std::move(tree);
    endResetModel();
}

int SchemaTreeModel::absoluteIndex(const QModelIndex& index)
{
    return index.isValid() ? static_cast<int>(index.internalId()) : -1;
}

int SchemaTreeModel::level(const QModelIndex& index) const
{
    const int node = absoluteIndex(index);
    return node < 0 || node >= m_tree.nodes.size() ? -1 : m_tree.nodes.at(node).level;
}

QModelIndex SchemaTreeModel::indexOf(int absolute) const
{
    if (absolute < 0 || absolute >= m_tree.nodes.size())
        return {};
    return createIndex(m_tree.nodes.at(absolute).row, 0, quintptr(absolute));
}

// Root (-1) for the invisible root and for indexes of another column, so that
// those have no children.
int SchemaTreeModel::nodeOf(const QModelIndex& parent) const
{
    return parent.isValid() ? static_cast<int>(parent.internalId()) : -1;
}

QModelIndex SchemaTreeModel::index(int row, int column, const QModelIndex& parent) const
{
    if (column != 0 || (parent.isValid() && parent.column() != 0))
        return {};
    const int node = m_tree.child(nodeOf(parent), row);
    return node < 0 ? QModelIndex() : createIndex(row, 0, quintptr(node));
}

QModelIndex SchemaTreeModel::parent(const QModelIndex& child) const
{
    const int node = absoluteIndex(child);
    if (node < 0 || node >= m_tree.nodes.size())
        return {};
    return indexOf(m_tree.nodes.at(node).parent);
}

int SchemaTreeModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid() && parent.column() != 0)
        return 0;
    return m_tree.childCount(nodeOf(parent));
}

int SchemaTreeModel::columnCount(const QModelIndex&) const
{
    return 1;
}

bool SchemaTreeModel::hasChildren(const QModelIndex& parent) const
{
    return rowCount(parent) > 0;
}

QVariant SchemaTreeModel::data(const QModelIndex& index, int role) const
{
    const int node = absoluteIndex(index);
    if (node < 0 || node >= m_tree.nodes.size())
        return {};
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
        return m_tree.nodes.at(node).text;
    return {};
}

Qt::ItemFlags SchemaTreeModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (level(index) == SchemaTree::ColumnLevel)
        f |= Qt::ItemNeverHasChildren;
    return f;
}

} // namespace corvane

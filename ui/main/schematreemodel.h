#pragma once

#include "catalogue/schematree.h"

#include <QAbstractItemModel>

namespace corvane {

// The database tree for a QTreeView. An index's internal id is the node's
// absolute index, so every call is a constant-time look-up in the node array,
// whatever the size of the schema.
class SchemaTreeModel : public QAbstractItemModel
{
    Q_OBJECT
public:
    explicit SchemaTreeModel(QObject* parent = nullptr);

    // Replaces the whole tree (an empty tree clears the view).
    void setTree(SchemaTree tree);
    void clear() { setTree({}); }
    const SchemaTree& tree() const { return m_tree; }

    // The node's absolute index (= its catalogue slot), -1 for an invalid index.
    static int absoluteIndex(const QModelIndex& index);
    // The node's level (SchemaTree::Level), -1 for an invalid index.
    int level(const QModelIndex& index) const;
    // The model index of the node at `absolute`; invalid when there is none.
    QModelIndex indexOf(int absolute) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    int nodeOf(const QModelIndex& parent) const;

    SchemaTree m_tree;
};

} // namespace corvane

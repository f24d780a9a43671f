#pragma once

#include "catalogue/consttypes.h"
#include "catalogue/schematree.h"
#include "ui/main/treefilter.h"

#include <QAbstractItemModel>

namespace corvane {

namespace discovery {
class WorkspaceFindings;
}

// The database tree for a QTreeView, narrowed by a filter text when one is
// set. An index's internal id is the node's absolute index, so every call is a
// constant-time look-up in the node arrays, whatever the size of the schema.
class SchemaTreeModel : public QAbstractItemModel
{
    Q_OBJECT
public:
    // The column's data type, shown beside its name.
    static constexpr int TypeRole = Qt::UserRole + 1;

    explicit SchemaTreeModel(QObject* parent = nullptr);

    // The slots whose types and methods the column nodes show; read on every
    // call, so that a choice shows as soon as it is made. Not owned.
    void setCatalogue(const TData* catalogue) { m_catalogue = catalogue; }
    // What discovery found in those slots: the column nodes show its category
    // and evidence. Read on every call; not owned.
    void setFindings(const discovery::WorkspaceFindings* findings) { m_findings = findings; }
    // Tells views that choices may have changed anywhere in the tree, or in
    // the one slot given.
    void choicesChanged();
    void choiceChanged(int absolute);

    // Replaces the whole tree (an empty tree clears the view); the filter
    // text stays and applies to the new tree.
    void setTree(SchemaTree tree);
    // Shows only the tables and columns whose names hold `text` (TreeFilter);
    // empty shows every node. Resets the model when the text changes.
    void setFilterText(const QString& text);
    void clear() { setTree({}); }
    const SchemaTree& tree() const { return m_tree; }

    // The node's absolute index (= its catalogue slot), -1 for an invalid index.
    static int absoluteIndex(const QModelIndex& index);
    // The node's level (SchemaTree::Level), -1 for an invalid index.
    int level(const QModelIndex& index) const;
    // The model index of the node at `absolute`; invalid when there is none
    // or the filter hides it.
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
    const TColumnRec* columnSlot(int node) const;

    SchemaTree m_tree;
    TreeFilter m_filter;
    const TData* m_catalogue = nullptr;
    const discovery::WorkspaceFindings* m_findings = nullptr;
};

} // namespace corvane

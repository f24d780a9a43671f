#include "ui/main/schematreemodel.h"

#include "catalogue/methods.h"
#include "discovery/workspacefindings.h"
#include "ui/discovery/categoryicon.h"

#include <QHash>
#include <QIcon>
#include <QPainter>
#include <QPixmap>

namespace corvane {

namespace {

// The mark of a masked column: a filled disc, drawn here so that it needs no
// theme and scales with the screen.
QIcon maskedMark()
{
    static const QIcon icon = [] {
        QIcon made;
        for (const int size : {16, 24, 32, 48}) {
            QPixmap pixmap(size, size);
            pixmap.fill(Qt::transparent);
            QPainter painter(&pixmap);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setPen(QPen(QColor(0x8a, 0x3b, 0x12), size / 12.0));
            painter.setBrush(QColor(0xe0, 0x70, 0x20));
            const qreal margin = size * 0.2;
            painter.drawEllipse(QRectF(margin, margin, size - 2 * margin, size - 2 * margin));
            made.addPixmap(pixmap);
        }
        return made;
    }();
    return icon;
}

// Unmasked columns get a blank of the mark's size, so that all names of a
// table start at the same place.
QIcon blankMark()
{
    static const QIcon icon = [] {
        QPixmap pixmap(16, 16);
        pixmap.fill(Qt::transparent);
        return QIcon(pixmap);
    }();
    return icon;
}

// A column with personal data shows its category's badge; once masked, the
// badge carries the masked mark in its corner, so that both stay readable.
QIcon categoryMark(discovery::Category category, bool masked)
{
    if (!masked)
        return ui::CategoryIcon(category);
    static QHash<int, QIcon> icons;
    const auto known = icons.constFind(int(category));
    if (known != icons.cend())
        return *known;
    QPixmap pixmap = ui::CategoryIcon(category).pixmap(16, 16);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::white, 1.5));
    painter.setBrush(QColor(0xe0, 0x70, 0x20));
    painter.drawEllipse(QRectF(8.5, 8.5, 6.5, 6.5));
    painter.end();
    return *icons.insert(int(category), QIcon(pixmap));
}

} // namespace

SchemaTreeModel::SchemaTreeModel(QObject* parent) : QAbstractItemModel(parent) {}

void SchemaTreeModel::choicesChanged()
{
    // One range per table: each holds siblings only.
    for (const int table : m_tree.tables) {
        const int count = m_filter.childCount(m_tree, table);
        if (count > 0)
            emit dataChanged(index(0, 0, indexOf(table)), index(count - 1, 0, indexOf(table)),
                             {Qt::DecorationRole, Qt::ToolTipRole});
    }
}

void SchemaTreeModel::choiceChanged(int absolute)
{
    const QModelIndex node = indexOf(absolute);
    if (node.isValid())
        emit dataChanged(node, node, {Qt::DecorationRole, Qt::ToolTipRole});
}

const TColumnRec* SchemaTreeModel::columnSlot(int node) const
{
    if (!m_catalogue || node < 0 || node >= m_catalogue->size() || node >= m_tree.nodes.size() ||
        m_tree.nodes.at(node).level != SchemaTree::ColumnLevel)
        return nullptr;
    return &m_catalogue->at(node);
}

void SchemaTreeModel::setTree(SchemaTree tree)
{
    beginResetModel();
    m_tree = std::move(tree);
    m_filter.apply(m_tree, m_filter.text());
    endResetModel();
}

void SchemaTreeModel::setFilterText(const QString& text)
{
    if (text == m_filter.text())
        return;
    beginResetModel();
    m_filter.apply(m_tree, text);
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
    const int row = m_filter.row(m_tree, absolute);
    return row < 0 ? QModelIndex() : createIndex(row, 0, quintptr(absolute));
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
    const int node = m_filter.child(m_tree, nodeOf(parent), row);
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
    return m_filter.childCount(m_tree, nodeOf(parent));
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
    const TColumnRec* slot = columnSlot(node);
    const bool masked = slot && hasBlock(slot->method);
    const discovery::Finding* finding = slot && m_findings ? m_findings->findingOf(node) : nullptr;
    switch (role) {
    case Qt::DisplayRole:
        return m_tree.nodes.at(node).text;
    case Qt::ToolTipRole:
        if (finding)
            return masked ? GetMethodName(slot->method) + u'\n' + ui::FindingToolTip(*finding)
                          : ui::FindingToolTip(*finding);
        return masked ? GetMethodName(slot->method) : m_tree.nodes.at(node).text;
    case Qt::DecorationRole:
        if (!slot)
            return {};
        if (finding)
            return categoryMark(finding->category, masked);
        return masked ? maskedMark() : blankMark();
    case TypeRole:
        return slot ? slot->typ : QString();
    default:
        return {};
    }
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

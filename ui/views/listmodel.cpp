#include "ui/views/listmodel.h"

#include "catalogue/workspace.h"
#include "check/checkstate.h"
#include "ui/check/findingsmodel.h"

#include <algorithm>

namespace corvane {

MaskedColumnsModel::MaskedColumnsModel(Workspace& workspace, QObject* parent)
    : QAbstractTableModel(parent), m_workspace(workspace)
{
    connect(&workspace, &Workspace::catalogueReplaced, this, &MaskedColumnsModel::rebuild);
    connect(&workspace, &Workspace::choicesReplaced, this, &MaskedColumnsModel::rebuild);
    connect(&workspace, &Workspace::methodChanged, this, &MaskedColumnsModel::slotChanged);
    rebuild();
}

void MaskedColumnsModel::setCheck(const check::CheckState& check)
{
    if (m_check)
        disconnect(m_check, nullptr, this, nullptr);
    m_check = &check;
    const auto refresh = [this] {
        emit dataChanged(index(0, CheckColumn), index(rowCount() - 1, CheckColumn));
    };
    connect(m_check, &check::CheckState::findingsChanged, this, refresh);
    refresh();
}

bool MaskedColumnsModel::listed(int slot) const
{
    // The database node is never listed, whatever it holds.
    const TData& catalogue = m_workspace.catalogue();
    return slot >= 1 && slot < catalogue.size() &&
           GetMethodName(catalogue.at(slot).method) != NoMaskName;
}

void MaskedColumnsModel::rebuild()
{
    beginResetModel();
    m_slots.clear();
    for (int i = 1; i < m_workspace.catalogue().size(); ++i)
        if (listed(i))
            m_slots.append(i);
    endResetModel();
    emit headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1);
}

void MaskedColumnsModel::slotChanged(int slot)
{
    const auto it = std::lower_bound(m_slots.begin(), m_slots.end(), slot);
    const int row = int(it - m_slots.begin());
    const bool wasListed = it != m_slots.end() && *it == slot;
    const bool isListed = listed(slot);
    if (wasListed && isListed) {
        emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
    } else if (wasListed) {
        // The last row goes over into the blank row: no row count change then.
        if (m_slots.size() == 1) {
            m_slots.clear();
            emit dataChanged(index(0, 0), index(0, ColumnCount - 1));
            return;
        }
        beginRemoveRows({}, row, row);
        m_slots.removeAt(row);
        endRemoveRows();
    } else if (isListed) {
        if (m_slots.isEmpty()) {
            m_slots.append(slot);
            emit dataChanged(index(0, 0), index(0, ColumnCount - 1));
            return;
        }
        beginInsertRows({}, row, row);
        m_slots.insert(row, slot);
        endInsertRows();
    }
}

int MaskedColumnsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : std::max<int>(1, int(m_slots.size()));
}

int MaskedColumnsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant MaskedColumnsModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const int slot = slotAt(index.row());
    if (index.column() == CheckColumn && role != Qt::DisplayRole) {
        const check::SlotVerdict verdict =
            m_check && slot >= 0 ? m_check->verdictOf(slot) : check::SlotVerdict{};
        if (role == SortRole)
            return 2 - verdict.rank();
        if (role == Qt::DecorationRole && verdict.rank() > 0)
            return ui::LevelIcon(verdict.level());
        return {};
    }
    if (role == SortRole)
        return index.column() == SlotColumn ? QVariant(slot) : data(index, Qt::DisplayRole);
    if (role != Qt::DisplayRole)
        return {};
    if (slot < 0)
        return QString();
    const TColumnRec& rec = m_workspace.catalogue().at(slot);
    switch (index.column()) {
    case SlotColumn: return QString::number(slot);
    case NameColumn: return rec.col;
    case TableColumn: return rec.stab;
    case MethodColumn: return GetMethodName(rec.method);
    case Param1Column: return rec.param1;
    case Param2Column: return rec.param2;
    case CheckColumn: return m_check ? m_check->verdictOf(slot).text() : QString();
    default: return {};
    }
}

QVariant MaskedColumnsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
        section >= ColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (m_workspace.catalogue().size() <= 1)
        return QString();
    static const QStringList headings = {
        QStringLiteral("Column ID"),   QStringLiteral("Column name"),
        QStringLiteral("Table name"),  QStringLiteral("Anonymization type"),
        QStringLiteral("Parameter 1"), QStringLiteral("Parameter 2"),
        QStringLiteral("Check"),
    };
    return headings.at(section);
}

} // namespace corvane

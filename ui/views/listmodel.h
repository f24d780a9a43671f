#pragma once

#include <QAbstractTableModel>
#include <QList>

namespace corvane {

class Workspace;

namespace check {
class CheckState;
}

// The masked columns of the workspace's catalogue, one row each in slot
// order: slot, column, table, method name, both parameters and what the
// check found. It follows the workspace's and the check's signals, so the
// list is current whenever it is shown.
// An empty list keeps one blank row, and the headings stay blank until a
// catalogue with columns is loaded.
class MaskedColumnsModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column { SlotColumn, NameColumn, TableColumn, MethodColumn, Param1Column, Param2Column,
                  CheckColumn, ColumnCount };
    // What the rows sort by: the slot as a number, errors before warnings
    // before nothing found, the text of the other columns.
    static constexpr int SortRole = Qt::UserRole;

    explicit MaskedColumnsModel(Workspace& workspace, QObject* parent = nullptr);

    // Fills the Check column from `check`, following its findings.
    void setCheck(const check::CheckState& check);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // The catalogue slot shown in `row`, -1 for the blank row.
    int slotAt(int row) const { return row >= 0 && row < m_slots.size() ? m_slots.at(row) : -1; }

private:
    void rebuild();
    void slotChanged(int slot);
    bool listed(int slot) const;

    Workspace& m_workspace;
    const check::CheckState* m_check = nullptr;
    QList<int> m_slots; // the listed slots, ascending
};

} // namespace corvane

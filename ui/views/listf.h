#pragma once

#include <QWidget>

class QLabel;
class QSortFilterProxyModel;
class QTableView;

namespace corvane {

namespace discovery {
class WorkspaceFindings;
}

class MaskedColumnsModel;
class Workspace;

namespace check {
class CheckState;
}

// The page "List of anonymized columns": one row per column that has a
// method, always current with the workspace.
class TListF : public QWidget
{
    Q_OBJECT
public:
    explicit TListF(QWidget* parent = nullptr);

    void SetCatalogue(Workspace& workspace);
    // The Check column and the summary above the list follow `check`.
    void SetCheck(check::CheckState& check);
    MaskedColumnsModel* model() const { return m_model; }
    QLabel* checkSummary() const { return m_checkSummary; }
    // Shows, above the list, how many of the columns with personal data are
    // masked, and keeps the line current.
    void ShowCoverage(const discovery::WorkspaceFindings& findings);

signals:
    // The operator opened a row (double-click or Enter): its column's slot.
    void columnActivated(int slot);

private:
    void unmaskSelected();
    void showCheckSummary();
    // The slot of a row as the grid shows it, sorted or not; -1 for the blank row.
    int slotOf(const QModelIndex& index) const;

    Workspace* m_workspace = nullptr;
    check::CheckState* m_check = nullptr;
    MaskedColumnsModel* m_model = nullptr;
    QSortFilterProxyModel* m_sorted;
    QLabel* m_checkSummary;
    QTableView* m_grid;
    QLabel* m_coverage;
};

} // namespace corvane

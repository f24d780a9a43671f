#pragma once

#include <QWidget>

class QLabel;
class QTableView;

namespace corvane {

namespace discovery {
class WorkspaceFindings;
}

class MaskedColumnsModel;
class Workspace;

// The page "List of anonymized columns": one row per column that has a
// method, always current with the workspace.
class TListF : public QWidget
{
    Q_OBJECT
public:
    explicit TListF(QWidget* parent = nullptr);

    void SetCatalogue(Workspace& workspace);
    MaskedColumnsModel* model() const { return m_model; }
    // Shows, above the list, how many of the columns with personal data are
    // masked, and keeps the line current.
    void ShowCoverage(const discovery::WorkspaceFindings& findings);

signals:
    // The operator opened a row (double-click or Enter): its column's slot.
    void columnActivated(int slot);

private:
    void unmaskSelected();

    Workspace* m_workspace = nullptr;
    MaskedColumnsModel* m_model = nullptr;
    QTableView* m_grid;
    QLabel* m_coverage;
};

} // namespace corvane

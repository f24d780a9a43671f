#pragma once

#include "discovery/finding.h"
#include "discovery/suggestion.h"

#include <QAbstractTableModel>
#include <QVector>

namespace corvane {
class Workspace;
namespace discovery {
class WorkspaceFindings;
}
} // namespace corvane

namespace corvane::ui {

// The findings of discovery, one row each, with their suggestion and whether
// the column is masked yet; it follows the findings and the workspace.
class PersonalDataModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { TableColumn, ColumnColumn, CategoryColumn, ConfidenceColumn, SuggestionColumn,
                  MaskedColumn, EvidenceColumn, ColumnCount };

    // A suggestion is stored through `workspace`, as an edit in the editor
    // is, so that every page follows it.
    PersonalDataModel(Workspace& workspace, const discovery::WorkspaceFindings& findings,
                  QObject* parent = nullptr);

    const QVector<discovery::Finding>& findings() const;
    const discovery::Finding& finding(int row) const { return findings().at(row); }
    discovery::Suggestion suggestion(int row) const;

    // Stores the row's suggestion in its slot; false when it has none.
    bool applySuggestion(int row);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

Q_SIGNALS:
    // After a suggestion was written into the slot.
    void suggestionApplied(int slot);

private:
    void rowChanged(int row);

    Workspace& m_workspace;
    const discovery::WorkspaceFindings& m_findings;
};

} // namespace corvane::ui

#pragma once

#include "catalogue/consttypes.h"
#include "discovery/finding.h"
#include "discovery/suggestion.h"

#include <QAbstractTableModel>
#include <QVector>

namespace corvane::ui {

// The findings of discovery over the shared catalogue, one row each, with
// their suggestion and whether the column is masked yet.
class FindingsModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { TableColumn, ColumnColumn, CategoryColumn, ConfidenceColumn, SuggestionColumn,
                  MaskedColumn, EvidenceColumn, ColumnCount };

    // `catalogue` is the program's one catalogue; the model writes the
    // suggestions into it and reads the methods from it.
    explicit FindingsModel(TData& catalogue, QObject* parent = nullptr);

    void setFindings(QVector<discovery::Finding> findings);
    const QVector<discovery::Finding>& findings() const { return m_findings; }
    const discovery::Finding& finding(int row) const { return m_findings.at(row); }
    discovery::Suggestion suggestion(int row) const;

    // Stores the row's suggestion in its slot; false when it has none.
    bool applySuggestion(int row);
    // The slot's method changed elsewhere (editor, project load): refresh.
    void slotChanged(int slot);

    discovery::Coverage coverage() const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

Q_SIGNALS:
    // After a suggestion was written into the slot.
    void suggestionApplied(int slot);

private:
    TData& m_catalogue;
    QVector<discovery::Finding> m_findings;
};

} // namespace corvane::ui

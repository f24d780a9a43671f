#pragma once

#include "check/rules.h"

#include <QWidget>

class QLabel;
class QSortFilterProxyModel;
class QTableView;

namespace corvane::ui {

class FindingsModel;

// The findings with their summary above them ("3 errors, 5 warnings"),
// sortable by each column. It shows every finding, or those of one slot
// (as under the editor's sheets).
class FindingsPanel : public QWidget
{
    Q_OBJECT

public:
    explicit FindingsPanel(QWidget* parent = nullptr);

    void setFindings(const check::Findings& findings);
    // -1 shows every finding.
    void showSlot(int slot);

    QString summaryText() const;
    QTableView* view() const { return m_view; }
    FindingsModel* model() const { return m_model; }

Q_SIGNALS:
    // The operator asked to go to a finding's column (double click or Enter).
    void slotActivated(int slot);

private:
    void updateSummary();

    FindingsModel* m_model;
    QSortFilterProxyModel* m_proxy;
    QLabel* m_summary;
    QTableView* m_view;
    int m_slot = -1;
};

// What "Generate SQL" and "Run SQL" ask before they go on with errors found;
// empty when there are none and nothing needs asking.
QString ProceedQuestion(const check::Findings& findings, const QString& action);

} // namespace corvane::ui

#pragma once

#include "catalogue/workspace.h"

#include <QWidget>

class QLabel;
class QPushButton;
class QTableView;

namespace corvane {

class PreviewModel;

// The page "Select from current table": a preview of the current table's rows.
// Rows are read as the operator scrolls, on the page's own connection, which
// stays open until the last row has been read or the next preview starts.
class TSelectF : public QWidget
{
    Q_OBJECT
public:
    explicit TSelectF(QWidget* parent = nullptr);
    ~TSelectF() override;

    // Reads CurrentTable and ConnectionString of `state` at each preview.
    void SetTableSource(Workspace& workspace);
    void ShowTableName();
    void BtSelectClick();

private:
    void fitColumns();

    Workspace* m_workspace = nullptr;
    QTableView* m_grid;
    QLabel* m_laTabel;
    QPushButton* m_btSelect;
    PreviewModel* m_model;
};

} // namespace corvane

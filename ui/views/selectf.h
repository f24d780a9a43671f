#pragma once

#include "catalogue/workspace.h"

#include <QWidget>

class QLabel;
class QPushButton;
class QTableView;

namespace corvane {

class PreviewModel;
struct PreviewOpening;

namespace db {
class Worker;
}

// The page "Select from current table": a preview of the current table's rows.
// Rows are read as the operator scrolls, on the page's own connection, which
// stays open until the last row has been read or the next preview starts.
// All reading happens off the window's thread; a newer "Select table"
// cancels the one still being read, whose rows are then never shown.
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
    // A preview is being opened: counted, queried and its first rows read.
    bool isLoading() const;

private:
    void showPreview(const QString& table, PreviewOpening opening);
    void setLoading(const QString& table);
    void fitColumns();

    Workspace* m_workspace = nullptr;
    QTableView* m_grid;
    QLabel* m_laTabel;
    QPushButton* m_btSelect;
    PreviewModel* m_model;
    db::Worker* m_loader;
    QString m_shownLabel; // the label before the preview now being opened
};

} // namespace corvane

#pragma once

#include "catalogue/consttypes.h"

#include <QWidget>

class QTableWidget;

namespace corvane {

// The page "List of anonymized columns": one row per column that has a method.
class TListF : public QWidget
{
    Q_OBJECT
public:
    explicit TListF(QWidget* parent = nullptr);

    void SetCatalogue(TData& catalogue);
    // Rebuilds the grid from the catalogue; the catalogue is never changed.
    void RefreshList();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();

    TData* m_catalogue = nullptr;
    bool m_refreshOnShow = false;
    QTableWidget* m_grid;
};

} // namespace corvane

#pragma once

#include "catalogue/consttypes.h"

#include <QWidget>

namespace corvane {

// The page "List of anonymized columns": one row per column that has a method.
class TListF : public QWidget
{
    Q_OBJECT
public:
    explicit TListF(QWidget* parent = nullptr);

    void SetCatalogue(TData& catalogue);
    void RefreshList();

private:
    TData* m_catalogue = nullptr;
};

} // namespace corvane

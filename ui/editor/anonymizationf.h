#pragma once

#include "catalogue/sharedstate.h"

#include <QWidget>

class QTabWidget;

namespace corvane {

// The "Anonymisation" page: the method and its parameters for one column.
class TAnonymizationF : public QWidget
{
    Q_OBJECT
public:
    explicit TAnonymizationF(QWidget* parent = nullptr);

    // Works on state.ColumnCatalogue; the FK value lists connect with
    // state.ConnectionString of the moment.
    void SetData(SharedState& state);
    void ShowColumn(int index);
    QTabWidget* PageControl1() const { return m_pageControl; }

private:
    SharedState* m_state = nullptr;
    QTabWidget* m_pageControl = nullptr;
};

} // namespace corvane

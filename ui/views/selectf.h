#pragma once

#include "catalogue/sharedstate.h"

#include <QWidget>

namespace corvane {

// The page "Select from current table": a preview of the current table's rows.
class TSelectF : public QWidget
{
    Q_OBJECT
public:
    explicit TSelectF(QWidget* parent = nullptr);

    // Reads CurrentTable and ConnectionString of `state` at each preview.
    void SetTableSource(SharedState& state);
    void ShowTableName();
    void BtSelectClick();

private:
    SharedState* m_state = nullptr;
};

} // namespace corvane

#pragma once

#include "catalogue/sharedstate.h"

#include <QWidget>

namespace corvane {

// The "SQL" page: generates the script into a memo and saves it.
class TSQLF : public QWidget
{
    Q_OBJECT
public:
    explicit TSQLF(QWidget* parent = nullptr);

    // Hand-over: the catalogue and the seed are read from `state` at each generation.
    void SetSource(SharedState& state);
    void SQLGenerator();
    void BtSSQLSaveClick();

private:
    SharedState* m_state = nullptr;
};

} // namespace corvane

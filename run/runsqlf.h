#pragma once

#include "catalogue/sharedstate.h"

#include <QWidget>

namespace corvane {

// The "Run SQL" page: anonymises the database directly, column by column.
class TRunSQLF : public QWidget
{
    Q_OBJECT
public:
    explicit TRunSQLF(QWidget* parent = nullptr);

    // Hand-over: catalogue, seed and connection are read from `state` at each run.
    void SetSource(SharedState& state);
    void Button7Click();

private:
    SharedState* m_state = nullptr;
};

} // namespace corvane

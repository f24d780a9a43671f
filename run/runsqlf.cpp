#include "run/runsqlf.h"

namespace corvane {

TRunSQLF::TRunSQLF(QWidget* parent) : QWidget(parent) {}

void TRunSQLF::SetSource(SharedState& state)
{
    m_state = &state;
}

void TRunSQLF::Button7Click() {}

} // namespace corvane

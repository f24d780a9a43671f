#include "script/sqlf.h"

namespace corvane {

TSQLF::TSQLF(QWidget* parent) : QWidget(parent) {}

void TSQLF::SetSource(SharedState& state)
{
    m_state = &state;
}

void TSQLF::SQLGenerator() {}

void TSQLF::BtSSQLSaveClick() {}

} // namespace corvane

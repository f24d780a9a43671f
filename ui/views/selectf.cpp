#include "ui/views/selectf.h"

namespace corvane {

TSelectF::TSelectF(QWidget* parent) : QWidget(parent) {}

void TSelectF::SetTableSource(SharedState& state)
{
    m_state = &state;
}

void TSelectF::ShowTableName() {}

void TSelectF::BtSelectClick() {}

} // namespace corvane

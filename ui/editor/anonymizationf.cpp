#include "ui/editor/anonymizationf.h"

#include <QTabWidget>
#include <QVBoxLayout>

namespace corvane {

TAnonymizationF::TAnonymizationF(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    m_pageControl = new QTabWidget(this);
    layout->addWidget(m_pageControl);
}

void TAnonymizationF::SetData(SharedState& state)
{
    m_state = &state;
}

void TAnonymizationF::ShowColumn(int) {}

} // namespace corvane

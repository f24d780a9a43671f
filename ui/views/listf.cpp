#include "ui/views/listf.h"

namespace corvane {

TListF::TListF(QWidget* parent) : QWidget(parent) {}

void TListF::SetCatalogue(TData& catalogue)
{
    m_catalogue = &catalogue;
}

void TListF::RefreshList() {}

} // namespace corvane

#include "project/virtualdataf.h"

namespace corvane {

TVirtualDataF::TVirtualDataF(QWidget* parent) : QDialog(parent) {}

void TVirtualDataF::SetFileName(const QString& name)
{
    m_fileName = name;
}

} // namespace corvane

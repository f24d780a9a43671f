#include "project/setseedf.h"

namespace corvane {

TSetSeedF::TSetSeedF(QWidget* parent) : QDialog(parent) {}

void TSetSeedF::Open(std::int32_t& seed)
{
    m_seed = &seed;
}

} // namespace corvane

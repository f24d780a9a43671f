#pragma once

#include <QLocale>

namespace corvane::test {

// Date and number texts in tests are those of US English: short dates M/d/yyyy.
inline void useTestLocale()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

} // namespace corvane::test

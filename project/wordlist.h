#pragma once

#include "catalogue/result.h"

#include <QString>

namespace corvane {

// The folder "virtual_data" under the current working directory, found
// without regard to letter case; empty when there is none.
QString VirtualDataFolder();

} // namespace corvane

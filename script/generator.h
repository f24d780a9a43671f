#pragma once

#include "catalogue/consttypes.h"
#include "catalogue/result.h"

namespace corvane::script {

} // namespace corvane::script

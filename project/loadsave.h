#pragma once

#include "catalogue/consttypes.h"
#include "catalogue/result.h"

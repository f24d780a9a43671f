#pragma once

#include "catalogue/result.h"

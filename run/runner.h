#pragma once

#include "catalogue/sharedstate.h"

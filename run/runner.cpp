#include "run/runner.h"

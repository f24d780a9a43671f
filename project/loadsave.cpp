#include "project/loadsave.h"

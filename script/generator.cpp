#include "script/generator.h"

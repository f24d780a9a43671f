#include "project/wordlist.h"

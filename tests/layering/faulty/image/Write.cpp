#include "Write.h"

// An adapter kind that includes another kind, and the shared pieces below it (fine).
#include "Ftdi.h"
#include "Wire.h"

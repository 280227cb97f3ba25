// A session header: includes the adapters and the bus below it (fine).
#include "Ftdi.h"

// A bus header that reaches up into a front end.
#include "Console.h"

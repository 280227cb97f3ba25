// A shared adapter piece that reaches up into the session.
#include "Bus.h"
#include "Session.h"

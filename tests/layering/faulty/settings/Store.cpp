// A settings source that reaches into the engine.
#include "Engine.h"

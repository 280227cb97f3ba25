// A chip-model source that reaches into the engine and the write unit.
#include "Model.h"
#include "Engine.h"
#include "Writer.h"

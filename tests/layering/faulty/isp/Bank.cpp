// An engine source that reaches into the dialogs' toolkit and the write unit.
#include "Engine.h"
#include "Window.h"
#include "Writer.h"

// An image-library source that reaches into the engine and into another library's header.
#include "Loader.h"
#include "Engine.h"
#include "Write.h"

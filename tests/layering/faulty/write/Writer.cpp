// A write-unit source that reaches into the chip model.
#include "Writer.h"
#include "Model.h"

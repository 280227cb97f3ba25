// A dialog source that reaches into the write unit.
#include "Form.h"
#include "Writer.h"

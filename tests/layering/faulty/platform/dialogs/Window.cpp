// A toolkit source that reaches up into a dialog form.
#include "Window.h"
#include "Form.h"

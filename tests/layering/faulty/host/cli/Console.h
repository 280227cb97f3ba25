// A front end's header that includes the other front end, and the layers below (fine).
#include "Bus.h"
#include "Session.h"
#include "GuiWindow.h"

// An engine source with an OS header and an export-layer header.
#include <vector>
#include <windows.h>

#include "Engine.h"
#include "Exports.h"
#include "rtd2120/rtd2120.h"

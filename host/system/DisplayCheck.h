// Whether the plug-in's dialogs can be shown: without a display they do nothing, and a
// command that opens one must say so instead of ending quietly.
#ifndef RTD_HOST_SYSTEM_DISPLAYCHECK_H
#define RTD_HOST_SYSTEM_DISPLAYCHECK_H

#include <string>

namespace rtd::host {

// Empty when a display is there; else one line on why there is none and how to get one.
std::string NoDisplayReason();

} // namespace rtd::host

#endif

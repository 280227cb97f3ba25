// What a command that drives the chip takes, whichever front end parsed it: the bus, the
// plug-in, the trace, and the command's own arguments.
#ifndef RTD_HOST_SESSION_RUNOPTIONS_H
#define RTD_HOST_SESSION_RUNOPTIONS_H

#include <string>
#include <vector>

#include "BusOptions.h"

namespace rtd::host {

struct RunOptions : BusOptions {
    std::string plugin;                 // empty: the default beside the executable
    std::string trace;                  // empty: no trace
    bool noPreflight = false;           // write and erase without the pre-flight
    bool ifDifferent = false;           // a write verifies first and writes only on a mismatch
    bool force = false;                 // the firmware file goes to the plug-in unchecked
    bool verbose = false;               // the trace's bus lines on the output's BusLine too
    std::vector<std::string> arguments; // the command's: the firmware file
};

} // namespace rtd::host

#endif

// The whole of isphost behind its command line, callable in-process.
#ifndef RTD_HOST_HOSTMAIN_H
#define RTD_HOST_HOSTMAIN_H

#include <ostream>
#include <string>
#include <vector>

namespace rtd::host {

enum ExitStatus { kExitOk = 0, kExitFailed = 1, kExitUsage = 2 };

// Runs one command. `args` excludes the program name; `terminal` selects the redrawn
// progress bar instead of plain percentages.
int RunHost(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
            bool terminal);

} // namespace rtd::host

#endif

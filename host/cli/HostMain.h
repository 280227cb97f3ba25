// The whole of isphost behind its command line, callable in-process.
#ifndef RTD_HOST_CLI_HOSTMAIN_H
#define RTD_HOST_CLI_HOSTMAIN_H

#include <ostream>
#include <string>
#include <vector>

#include "ChipRun.h"
#include "ExitStatus.h"

namespace rtd::host {

class Console;
struct HostCommand;
struct Options;

// A chip command as isphost shows it: RunChipCommand on the console, then a write's
// summary, the --stats line and the result line.
int RunOnConsole(const HostCommand& command, const Options& options, std::ostream& out,
                 Console& console, CommandReport* report, const ChipSession& session = {});

// Runs one command. `args` excludes the program name; `terminal` selects the redrawn
// progress bar instead of plain percentages.
int RunHost(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
            bool terminal);

} // namespace rtd::host

#endif

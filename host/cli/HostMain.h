// The whole of isphost behind its command line, callable in-process.
#ifndef RTD_HOST_CLI_HOSTMAIN_H
#define RTD_HOST_CLI_HOSTMAIN_H

#include <ostream>
#include <string>
#include <vector>

#include "ChipRun.h"
#include "Console.h"
#include "ExitStatus.h"

namespace rtd::host {

struct HostCommand;
struct Options;

// The console's mode for the options: JSON, quiet, or as stderr is a terminal or not.
Console::Mode ConsoleModeFor(const Options& options);

// A chip command as isphost shows it: RunChipCommand on the console, then a write's
// summary, the --stats line and the result line.
int RunOnConsole(const HostCommand& command, const Options& options, std::ostream& out,
                 Console& console, CommandReport* report, const ChipSession& session = {});

// Runs one command. `args` excludes the program name; `terminal` (stderr is a terminal)
// selects the redrawn progress bar instead of one line per finished stage.
int RunHost(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
            bool terminal);

} // namespace rtd::host

#endif

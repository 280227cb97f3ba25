// The whole of isphost behind its command line, callable in-process.
#ifndef RTD_HOST_HOSTMAIN_H
#define RTD_HOST_HOSTMAIN_H

#include <ostream>
#include <string>
#include <vector>

namespace rtd::host {

enum ExitStatus { kExitOk = 0, kExitFailed = 1, kExitUsage = 2 };

class Console;
class HostBus;
class Trace;
struct CommandReport;
struct HostCommand;
struct Options;

// A bus and trace held across several commands (the station's boards): not finished or
// closed by a command.
struct ChipSession {
    HostBus* bus;
    Trace* trace;
};

// Runs a command through the plug-in's exports, or on the host's side for one that only
// reads the chip (verify); the host objects outlive every call that can reach them. Without
// a session the command opens its own bus and trace for the call.
int RunChipCommand(const HostCommand& command, const Options& options, std::ostream& out,
                   Console& console, CommandReport* report, const ChipSession* session = nullptr);

// Runs one command. `args` excludes the program name; `terminal` selects the redrawn
// progress bar instead of plain percentages.
int RunHost(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
            bool terminal);

} // namespace rtd::host

#endif

// One command that drives the chip, from opening the bus to finishing it, for every front
// end: open the bus, run the pre-flight before an erase, put the counting, tracing and
// diagnosing decorators in front of it, load the plug-in and hand the host objects over,
// call the export (or verify on the host's side), withdraw the objects, unload, finish the
// bus, explain a failure. The firmware file is planned once per command.
#ifndef RTD_HOST_SESSION_CHIPRUN_H
#define RTD_HOST_SESSION_CHIPRUN_H

#include <ostream>

#include "ChipCommands.h"
#include "CommandReport.h"
#include "RunOptions.h"
#include "RunOutput.h"

namespace rtd::host {

class HostBus;
class HostStrings;
class Trace;
struct PluginExports;

// A plug-in loaded for longer than one command (ispgui's window), its form and message
// list already handed over: a command hands over only the bus.
struct ResidentPlugin {
    const PluginExports* exports;
    const HostStrings* strings;
};

// What outlives one command; each part null when the command makes its own: a bus held
// for several commands (the station's boards), a trace, a resident plug-in.
struct ChipSession {
    HostBus* bus = nullptr;
    Trace* trace = nullptr;
    const ResidentPlugin* plugin = nullptr;
};

// The exit status, also in `report` with the command's banks, counts, time and first
// error. kExitUsage only when the command did not start: a firmware file the host's check
// refused (unless --force), a bus, pre-flight, trace or plug-in that failed before the
// call, with the reason on `output`. The command succeeded only when the export did and
// the simulated flash and the trace were written.
int RunChipCommand(const ChipCommand& command, const RunOptions& options, std::ostream& out,
                   RunOutput& output, CommandReport* report, const ChipSession& session = {});

} // namespace rtd::host

#endif

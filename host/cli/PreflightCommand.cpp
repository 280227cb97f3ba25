#include "PreflightCommand.h"

#include "BusTable.h"
#include "ExitStatus.h"
#include "Options.h"
#include "Preflight.h"
#include "Trace.h"

namespace rtd::host {

int RunCheck(const Options& options, std::ostream& out, std::ostream& err) {
    std::string error;
    Trace trace;
    std::unique_ptr<HostBus> bus;
    if ((options.trace.empty() || trace.Open(options.trace, &error)))
        bus = CreateHostBus(options, &trace, &error);
    if (!bus) {
        err << "isphost: " << error << '\n';
        return kExitUsage;
    }
    const PreflightResult result = RunPreflight(bus->Adapter());
    for (const std::string& line : result.found)
        out << bus->Capabilities().name << ": " << line << '\n';
    if (!result.Passed()) {
        err << "isphost: " << result.refusal << '\n';
        return kExitUsage;
    }
    out << "check: OK\n";
    return kExitOk;
}

} // namespace rtd::host

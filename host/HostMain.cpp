#include "HostMain.h"

#include <memory>

#include "CommandTable.h"
#include "Help.h"
#include "HostForm.h"
#include "HostStrings.h"
#include "Options.h"
#include "PluginLoader.h"
#include "Quonunit.h"
#include "Trace.h"
#include "TracingBus.h"
#include "bus/BusTable.h"

namespace rtd::host {

namespace {

int UsageError(std::ostream& err, const std::string& reason) {
    err << "isphost: " << reason << '\n';
    return kExitUsage;
}

// Runs a command through the plug-in's exports; the host objects outlive every call that
// can reach them.
int RunPluginCommand(const HostCommand& command, const Options& o, std::ostream& out,
                     std::ostream& err, bool terminal) {
    Console console(out, err,
                    o.quiet    ? Console::Mode::Quiet
                    : terminal ? Console::Mode::Terminal
                               : Console::Mode::Plain);
    std::string error;
    Trace trace;
    if (!o.trace.empty() && !trace.Open(o.trace, &error))
        return UsageError(err, error);

    std::unique_ptr<HostBus> bus;
    if (command.needsBus) {
        bus = CreateHostBus(o, &trace, &error);
        if (!bus)
            return UsageError(err, error);
    }

    const std::string path = o.plugin.empty() ? DefaultPluginPath(ExecutablePath()) : o.plugin;
    std::unique_ptr<Plugin> plugin = Plugin::Load(path, &error);
    if (!plugin)
        return UsageError(err, error);
    const PluginExports& e = plugin->Exports();

    std::unique_ptr<HostForm> form = CreateHostForm(&console, &trace, &error);
    if (!form)
        return UsageError(err, error);
    // Lines are printed as they come; a Clear leaves the screen as it is.
    HostStrings strings({[&console](const std::string& line) { console.Line(line); }, nullptr},
                        &trace);
    std::unique_ptr<TracingBus> tracing;
    if (bus)
        tracing = std::make_unique<TracingBus>(bus->Bus(), &trace);

    e.SetMainFrm(form.get());
    e.SetInfoList(&strings);
    e.SetIICInterFace(tracing.get());
    const bool ok = command.callExport(e, o, out);
    e.SetIICInterFace(nullptr);
    e.SetInfoList(nullptr);
    e.SetMainFrm(nullptr);
    console.Finish();
    plugin.reset(); // unloading makes the plug-in save its setting

    int status = ok ? kExitOk : kExitFailed;
    if (bus && !bus->Finish(&console))
        status = kExitFailed;
    if (!trace.Close()) {
        console.Error("cannot write the trace file " + o.trace);
        status = kExitFailed;
    }
    if (command.reportsResult)
        console.Result(o.command + (ok ? ": OK" : ": FAILED"));
    return status;
}

} // namespace

int RunHost(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
            bool terminal) {
    Options o;
    std::string error;
    if (!ParseOptions(args, &o, &error))
        return UsageError(err, error);
    if (o.help) {
        out << HelpText();
        return kExitOk;
    }
    if (o.version) {
        out << VersionText() << '\n';
        return kExitOk;
    }
    if (!o.autoFireSecond.empty() && !SaveAutoFireSecond(o.autoFireSecond == "on"))
        return UsageError(err, "cannot write the setting to " + SettingsFilePath());
    const HostCommand& command = *FindHostCommand(o.command);
    if (command.run)
        return command.run(o, out, err);
    return RunPluginCommand(command, o, out, err, terminal);
}

} // namespace rtd::host

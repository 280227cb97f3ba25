#include "HostMain.h"

#include <algorithm>
#include <chrono>
#include <memory>

#include "BusStats.h"
#include "CommandReport.h"
#include "CommandTable.h"
#include "Help.h"
#include "HostForm.h"
#include "HostStrings.h"
#include "Options.h"
#include "PluginLoader.h"
#include "Quonunit.h"
#include "Trace.h"
#include "TracingBus.h"
#include "Verify.h"
#include "bus/BusTable.h"
#include "diagnosis/FailureDiagnosis.h"
#include "preflight/Preflight.h"

namespace rtd::host {

namespace {

int UsageError(std::ostream& err, const std::string& reason) {
    err << "isphost: " << reason << '\n';
    return kExitUsage;
}

int SetupError(Console& console, const std::string& reason) {
    console.Error(reason);
    return kExitUsage;
}

double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

int RunChipCommand(const HostCommand& command, const Options& o, std::ostream& out,
                   Console& console, CommandReport* report, const ChipSession* session) {
    std::string error;
    Trace ownTrace;
    if (!session && !o.trace.empty() && !ownTrace.Open(o.trace, &error))
        return SetupError(console, error);
    Trace& trace = session ? *session->trace : ownTrace;

    std::unique_ptr<HostBus> ownBus;
    HostBus* bus = nullptr;
    if (command.needsBus) {
        if (session) {
            bus = session->bus;
        } else if (!(ownBus = CreateHostBus(o, &trace, &error))) {
            return SetupError(console, error);
        } else {
            bus = ownBus.get();
        }
        // Before an erase: a bus that cannot carry the write must not leave a blank chip.
        if (command.erasesChip && !o.noPreflight) {
            const PreflightResult preflight = RunPreflight(bus->Adapter());
            if (!preflight.Passed())
                return SetupError(console, preflight.refusal);
        }
    }
    // Counted under the trace, so both see the same transfers; the diagnosis watches what
    // the plug-in sends and hears.
    std::unique_ptr<BusStats> counted;
    std::unique_ptr<TracingBus> tracing;
    std::unique_ptr<FailureDiagnosis> diagnosis;
    if (bus) {
        counted = std::make_unique<BusStats>(bus->Bus());
        tracing = std::make_unique<TracingBus>(counted.get(), &trace);
        diagnosis = std::make_unique<FailureDiagnosis>(tracing.get());
    }

    const bool isWrite = o.command == "write";
    std::unique_ptr<Plugin> plugin;
    std::unique_ptr<HostForm> form;
    if (command.callExport) {
        const std::string path = o.plugin.empty() ? DefaultPluginPath(ExecutablePath()) : o.plugin;
        plugin = Plugin::Load(path, &error);
        if (!plugin)
            return SetupError(console, error);
        form = CreateHostForm(&console, &trace, &error);
        if (!form)
            return SetupError(console, error);
    }

    const auto start = std::chrono::steady_clock::now();
    bool ok = false;
    std::string lastLine;                      // the plug-in's last message line, for the diagnosis
    const bool setting = LoadAutoFireSecond(); // as the plug-in reads it
    if (!command.callExport) {
        ok = VerifyFile(o.arguments[0], setting, tracing.get(), report, &console) == kExitOk;
    } else {
        if (isWrite && PlanBanks(o.arguments[0], setting, BankRange::Written, report) &&
            o.ifDifferent && FlashAlreadyHolds(o.arguments[0], setting, tracing.get(), &console)) {
            report->skipped = true;
            ok = true;
        } else {
            const PluginExports& e = plugin->Exports();
            // Lines are printed as they come; a Clear leaves the screen as it is.
            HostStrings strings(
                {[&console](const std::string& line) { console.Line(line); }, nullptr}, &trace);
            e.SetMainFrm(form.get());
            e.SetInfoList(&strings);
            e.SetIICInterFace(diagnosis.get());
            ok = command.callExport(e, o, out);
            e.SetIICInterFace(nullptr);
            e.SetInfoList(nullptr);
            e.SetMainFrm(nullptr);
            if (!strings.Lines().empty())
                lastLine = strings.Lines().back();
            if (!ok && report->error.empty())
                report->error = lastLine;
        }
    }
    report->seconds = SecondsSince(start);
    console.Finish();
    plugin.reset(); // unloading makes the plug-in save its setting

    int status = ok ? kExitOk : kExitFailed;
    if (ownBus && !ownBus->Finish(&console))
        status = kExitFailed;
    // The error a script sees is the failure itself; the diagnosis only explains it.
    if (!console.FirstError().empty())
        report->error = console.FirstError();
    if (bus && !ok && command.callExport)
        for (const std::string& line : diagnosis->Explain(lastLine, bus->FailedTransfers()))
            console.Error(line);
    if (!session && !trace.Close()) {
        console.Error("cannot write the trace file " + o.trace);
        status = kExitFailed;
    }
    report->status = status;
    if (counted)
        report->bus = counted->Counts();
    if (isWrite)
        console.Note(SummaryLine(*report));
    if (o.stats)
        console.Note(StatsLine(*report), true);
    if (command.reportsResult)
        console.Result(o.command + (ok ? ": OK" : ": FAILED"));
    return status;
}

namespace {

int RunPluginCommand(const HostCommand& command, const Options& o, std::ostream& out,
                     std::ostream& err, bool terminal) {
    Console console(out, err,
                    o.json     ? Console::Mode::Json
                    : o.quiet  ? Console::Mode::Quiet
                    : terminal ? Console::Mode::Terminal
                               : Console::Mode::Plain);
    CommandReport report;
    report.command = o.command;
    report.stats = o.stats;
    report.status = RunChipCommand(command, o, out, console, &report);
    if (report.error.empty())
        report.error = console.FirstError();
    console.Final(ResultJson(report));
    return report.status;
}

} // namespace

int RunHost(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
            bool terminal) {
    Options o;
    std::string error;
    if (!ParseOptions(args, &o, &error)) {
        // A script that asked for JSON still gets its result object.
        if (std::find(args.begin(), args.end(), "--json") != args.end()) {
            CommandReport report;
            report.status = kExitUsage;
            report.error = error;
            out << ResultJson(report) << '\n';
        }
        return UsageError(err, error);
    }
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

#include "HostMain.h"

#include <algorithm>
#include <chrono>
#include <memory>

#include "CommandTable.h"
#include "Console.h"
#include "Help.h"
#include "Options.h"
#include "Quonunit.h"
#include "ReportLines.h"

namespace rtd::host {

namespace {

int UsageError(std::ostream& err, const std::string& reason) {
    err << "isphost: " << reason << '\n';
    return kExitUsage;
}

} // namespace

int RunOnConsole(const HostCommand& command, const Options& o, std::ostream& out, Console& console,
                 CommandReport* report, const ChipSession& session) {
    const int status = RunChipCommand(*command.chip, o, out, console, report, session);
    if (status == kExitUsage)
        return status; // not started: the reason is on the console
    if (command.Has(kProgramsFile))
        console.Note(SummaryLine(*report));
    if (o.stats)
        console.Note(StatsLine(*report), true);
    // Quiet hides the plug-in's lines, but never why the command failed.
    if (o.quiet && !report->succeeded && console.FirstError().empty() && !report->error.empty())
        console.Error(report->error);
    if (command.Has(kReportsResult))
        console.Result(o.command + (report->succeeded ? ": OK" : ": FAILED"));
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
    report.status = RunOnConsole(command, o, out, console, &report);
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

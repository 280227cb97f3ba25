#include "ChipRun.h"

#include <chrono>
#include <memory>

#include "BusStats.h"
#include "BusTable.h"
#include "ExitStatus.h"
#include "FailureDiagnosis.h"
#include "FileCheck.h"
#include "HostForm.h"
#include "HostStrings.h"
#include "ImageTools.h"
#include "InterruptGate.h"
#include "PluginLoader.h"
#include "Preflight.h"
#include "Quonunit.h"
#include "Trace.h"
#include "TracingBus.h"
#include "Verify.h"

namespace rtd::host {

namespace {

int SetupError(RunOutput& output, CommandReport* report, const std::string& reason) {
    output.Error(reason);
    report->status = kExitUsage;
    return kExitUsage;
}

double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The plug-in and the host objects of one command, handed over for the call.
struct PluginCall {
    std::unique_ptr<Plugin> plugin;
    std::unique_ptr<HostForm> form;
    std::unique_ptr<HostStrings> strings;
    const PluginExports* exports = nullptr;
    const HostStrings* lines = nullptr;
};

// A write's progress runs 0 to 100 once per bank; the bank is the one selected last.
auto ProgressTo(RunOutput& output, const FailureDiagnosis* writing) {
    return [&output, writing, last = -1](int percent) mutable {
        output.Progress(percent);
        if (writing && percent == 100 && last != 100)
            output.StageDone("bank " + std::to_string(writing->SelectedBank()) + ": pages sent");
        last = percent;
    };
}

bool LoadPlugin(const RunOptions& o, RunOutput& output, Trace* trace,
                const FailureDiagnosis* writing, PluginCall* call, std::string* error) {
    const std::string path = o.plugin.empty() ? DefaultPluginPath(ExecutablePath()) : o.plugin;
    call->plugin = Plugin::Load(path, error);
    if (!call->plugin)
        return false;
    call->form = CreateHostForm(ProgressTo(output, writing), trace, error);
    if (!call->form)
        return false;
    // Lines are shown as they come; a Clear leaves what was shown as it is.
    call->strings = std::make_unique<HostStrings>(
        LinesDisplay{[&output](const std::string& line) { output.Line(line); }, nullptr}, trace);
    call->exports = &call->plugin->Exports();
    call->lines = call->strings.get();
    return true;
}

} // namespace

int RunChipCommand(const ChipCommand& command, const RunOptions& o, std::ostream& out,
                   RunOutput& output, CommandReport* report, const ChipSession& session) {
    std::string error;
    Trace ownTrace;
    if (!session.trace && !o.trace.empty() && !ownTrace.Open(o.trace, &error))
        return SetupError(output, report, error);
    Trace& trace = session.trace ? *session.trace : ownTrace;
    // Before the bus opens: a file the plug-in would program only in part never reaches it.
    if (command.Has(kTakesFile) && !o.force) {
        const std::string refusal = CheckFirmwareFile(o.arguments[0]);
        if (!refusal.empty())
            return SetupError(output, report, refusal);
    }
    if (o.verbose && !session.trace)
        trace.EchoBusLines([&output](const std::string& line) { output.BusLine(line); });

    std::unique_ptr<HostBus> ownBus;
    HostBus* bus = nullptr;
    if (command.Has(kNeedsBus)) {
        if (session.bus) {
            bus = session.bus;
        } else if (!(ownBus = CreateHostBus(o, &trace, &error))) {
            return SetupError(output, report, error);
        } else {
            bus = ownBus.get();
        }
        // Before an erase: a bus that cannot carry the write must not leave a blank chip.
        if (command.Has(kErasesChip) && !o.noPreflight) {
            const PreflightResult preflight = RunPreflight(bus->Adapter());
            if (!preflight.Passed())
                return SetupError(output, report, preflight.refusal);
        }
    }
    // Counted under the trace, so both see the same transfers; the diagnosis watches what
    // the plug-in sends and hears.
    std::unique_ptr<BusStats> counted;
    std::unique_ptr<TracingBus> tracing;
    std::unique_ptr<FailureDiagnosis> diagnosis;
    // In front of all, so a refused transaction is neither traced nor watched; the host's
    // own transfers (verify, --if-different) pass a gate of their own.
    std::unique_ptr<InterruptGate> gate, hostGate;
    if (bus) {
        counted = std::make_unique<BusStats>(bus->Bus());
        tracing = std::make_unique<TracingBus>(counted.get(), &trace);
        diagnosis = std::make_unique<FailureDiagnosis>(tracing.get());
        gate = std::make_unique<InterruptGate>(diagnosis.get(), session.stop);
        hostGate = std::make_unique<InterruptGate>(tracing.get(), session.stop);
    }

    PluginCall call;
    if (session.plugin) {
        call.exports = session.plugin->exports;
        call.lines = session.plugin->strings;
    } else if (!command.Has(kHostSide) &&
               !LoadPlugin(o, output, &trace,
                           command.Has(kProgramsFile) ? diagnosis.get() : nullptr, &call, &error)) {
        return SetupError(output, report, error);
    }

    // A USB adapter's counts for this command alone, without its opening.
    const UsbCounts* usb = bus ? bus->Adapter().Usb() : nullptr;
    const UsbCounts usbBefore = usb ? *usb : UsbCounts{};
    const auto start = std::chrono::steady_clock::now();
    bool ok = false;
    std::string lastLine;                      // the plug-in's last message line, for the diagnosis
    const bool setting = LoadAutoFireSecond(); // as the plug-in reads it
    image::FirmwarePlan plan;
    if (command.Has(kTakesFile)) {
        report->file = o.arguments[0];
        plan = PlanFor(o.arguments[0], setting);
    }
    report->programs = command.Has(kProgramsFile);
    if (command.Has(kHostSide)) {
        ok = VerifyFile(plan, hostGate.get(), report, &output) == kExitOk;
    } else if (report->programs && PlanBanks(plan, BankRange::Written, report) && o.ifDifferent &&
               FlashAlreadyHolds(plan, hostGate.get(), &output)) {
        report->skipped = true;
        ok = true;
    } else {
        const PluginExports& e = *call.exports;
        if (call.strings) {
            e.SetMainFrm(call.form.get());
            e.SetInfoList(call.strings.get());
        }
        e.SetIICInterFace(gate.get());
        ok = command.callExport(e, command.Has(kTakesFile) ? o.arguments[0] : "", out);
        e.SetIICInterFace(nullptr);
        if (call.strings) {
            e.SetInfoList(nullptr);
            e.SetMainFrm(nullptr);
        }
        if (!call.lines->Lines().empty())
            lastLine = call.lines->Lines().back();
        if (!ok && report->error.empty())
            report->error = lastLine;
    }
    report->seconds = SecondsSince(start);
    output.Finish();
    call.plugin.reset(); // unloading makes the plug-in save its setting

    int status = ok ? kExitOk : kExitFailed;
    // The plug-in saves its setting as it unloads and cannot tell whether that worked:
    // storing the saved value once more does.
    if (command.Has(kChangesSetting) && !SaveAutoFireSecond(LoadAutoFireSecond())) {
        output.Error("cannot save the setting to " + SettingsFilePath());
        status = kExitFailed;
    }
    if (ownBus && !ownBus->Finish(&output))
        status = kExitFailed;
    // Said once the model's flash is saved: what the user must know before unplugging.
    const bool interrupted = bus && (gate->Interrupted() || hostGate->Interrupted());
    if (interrupted) {
        output.Error("interrupted; " + diagnosis->ChipHolds());
        status = kExitInterrupted;
    }
    // The error a script sees is the failure itself; the diagnosis only explains it.
    if (!output.FirstError().empty())
        report->error = output.FirstError();
    // Nothing sent (a file the plug-in refused): the bus has nothing to explain; an
    // interrupted command failed because the host refused its transfers.
    if (bus && !ok && !interrupted && !command.Has(kHostSide) && counted->Counts().calls > 0) {
        for (const std::string& line : diagnosis->Explain(lastLine, bus->FailedTransfers()))
            output.Explain(line);
        // Last, as after an interrupt: what the user must know before going on.
        output.Explain("diagnosis: " + diagnosis->ChipHolds());
    }
    if (!session.trace && !trace.Close()) {
        output.Error("cannot write the trace file " + o.trace);
        if (status != kExitInterrupted)
            status = kExitFailed;
    }
    // One result for the command, once the flash is saved and the trace written.
    report->status = status;
    report->succeeded = status == kExitOk;
    if (counted)
        report->bus = counted->Counts();
    report->busSpeedKhz = BusSpeedKhz(o);
    if (usb) {
        report->usbCounted = true;
        report->usb = usb->Since(usbBefore);
    } else if (bus) {
        report->usbUncounted = bus->Adapter().UsbUncounted();
    }
    return status;
}

} // namespace rtd::host

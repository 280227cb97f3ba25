#include "Station.h"

#include <chrono>
#include <memory>
#include <thread>

#include "BusTable.h"
#include "CommandTable.h"
#include "Console.h"
#include "FileCheck.h"
#include "HostMain.h"
#include "Options.h"
#include "ReportLines.h"
#include "Sha256.h"
#include "StationLog.h"
#include "StopRequest.h"
#include "Trace.h"

namespace rtd::host {

namespace {

constexpr int kPollMs = 500;
constexpr int kStopCheckMs = 50; // Ctrl-C is noticed within this while waiting

bool ChipPresent(HostBus& bus) {
    const ProbeResult probe = bus.Probe();
    // An adapter blind to acknowledge bits reads 0xFF from an empty socket.
    return probe.answer == ProbeResult::Answer::Yes ||
           (probe.answer == ProbeResult::Answer::Unknown && probe.status != 0xFF);
}

// Polls until the chip is there (or gone); false when Ctrl-C came first.
bool WaitForChip(HostBus& bus, bool present) {
    while (!StopRequested()) {
        if (ChipPresent(bus) == present)
            return true;
        for (int waited = 0; waited < kPollMs && !StopRequested(); waited += kStopCheckMs)
            std::this_thread::sleep_for(std::chrono::milliseconds(kStopCheckMs));
    }
    return false;
}

Console::Mode ModeFor(const Options& o) {
    return o.json ? Console::Mode::Json : o.quiet ? Console::Mode::Quiet : Console::Mode::Plain;
}

} // namespace

int RunStation(const Options& o, std::ostream& out, std::ostream& err) {
    Console console(out, err, ModeFor(o));
    CommandReport result;
    result.command = o.command;
    result.file = o.arguments[0];
    const auto finish = [&](int status, const std::string& error) {
        if (!error.empty())
            console.Error(error);
        result.status = status;
        result.error = console.FirstError();
        console.Final(ResultJson(result));
        return status;
    };

    const int boards = o.boards;
    BoardRow row;
    row.file = o.arguments[0];
    // Once for the station: a file refused for one board is refused for all.
    const std::string refusal = o.force ? "" : CheckFirmwareFile(row.file);
    if (!refusal.empty())
        return finish(kExitUsage, refusal);
    if (!Sha256OfFile(row.file, &row.sha256))
        return finish(kExitUsage, "cannot read " + row.file);
    std::string error;
    Trace trace;
    if (!o.trace.empty() && !trace.Open(o.trace, &error))
        return finish(kExitUsage, error);
    if (o.verbose)
        trace.EchoBusLines([&console](const std::string& line) { console.BusLine(line); });
    const std::unique_ptr<HostBus> bus = CreateHostBus(o, &trace, &error);
    if (!bus)
        return finish(kExitUsage, error);
    StationLog log;
    if (!log.Open(o.log, &error))
        return finish(kExitUsage, error);
    ChipSession session;
    session.bus = bus.get();
    session.trace = &trace;

    CatchStopRequest();
    const auto stationStart = std::chrono::steady_clock::now();
    // Each board: the write and verify commands, unchanged, on the station's bus.
    const HostCommand& writeCommand = *FindHostCommand("write");
    const HostCommand& verifyCommand = *FindHostCommand("verify");
    Options write = o, verify = o;
    write.command = writeCommand.name;
    verify.command = verifyCommand.name;
    int passed = 0, failed = 0;
    bool logWritten = true;
    while (logWritten && (boards == 0 || passed + failed < boards)) {
        console.Note("Waiting for a board...");
        if (!WaitForChip(*bus, true))
            break;
        row.time = IsoTimeNow();
        const auto start = std::chrono::steady_clock::now();
        // A console per board: each board's errors are its own.
        Console boardConsole(out, err, ModeFor(o));
        CommandReport written, verified;
        written.command = write.command;
        verified.command = verify.command;
        const int writeStatus =
            RunOnConsole(writeCommand, write, out, boardConsole, &written, session);
        // Verify even after a failed write: the row tells which bank is wrong.
        const int verifyStatus =
            RunOnConsole(verifyCommand, verify, out, boardConsole, &verified, session);
        row.passed = writeStatus == kExitOk && verifyStatus == kExitOk;
        row.banks = verified.banks;
        row.seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        (row.passed ? passed : failed)++;
        logWritten = log.Append(StationLogLine(row), &error);
        if (!logWritten)
            console.Error(error);
        console.Note("Boards: " + std::to_string(passed) + " passed, " + std::to_string(failed) +
                         " failed",
                     true);
        if (!logWritten || (boards != 0 && passed + failed >= boards))
            break;
        bus->BoardDone();
        console.Note("Remove the board.");
        if (!WaitForChip(*bus, false))
            break;
    }
    console.Finish();
    result.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - stationStart).count();
    int status = failed == 0 && logWritten ? kExitOk : kExitFailed;
    if (!bus->Finish(&console))
        status = kExitFailed;
    if (!trace.Close()) {
        console.Error("cannot write the trace file " + o.trace);
        status = kExitFailed;
    }
    console.Result("station: " + std::to_string(passed) + " passed, " + std::to_string(failed) +
                   " failed");
    return finish(status, "");
}

} // namespace rtd::host

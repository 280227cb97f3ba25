// The whole host against the built plug-in and the chip model: the plug-in is loaded by
// path and driven only through its exports, as a user's run of isphost does.
#include <gtest/gtest.h>

#include <cstdio>

#include "ExpectedTrace.h"
#include "HostRun.h"
#include "ImageTools.h"
#include "Quonunit.h"

namespace rtd::host::test {
namespace {

using Lines = std::vector<std::string>;

TEST(HostRun, InfoShowsTheQueryAnswers) {
    const HostResult r = RunInProcess({"info"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(
        SplitLines(r.out),
        (Lines{"MCU:                RTD2120", "Extra function:     Enter isp",
               "File filter:        (*.hex;*.bin)|*.hex;*.bin;*.kvf", "Supports reset:     yes",
               "Supports erase:     yes", "Supports extra:     yes",
               std::string("Auto-fire second:   ") + (LoadAutoFireSecond() ? "on" : "off") +
                   " (from " + SettingsFilePath() + ")"}));
}

// A two-bank packed write, event by event. The expected trace is built here from the wire
// protocol and the example's decoded image rather than kept as a golden file, so that it
// follows scripts/make-examples and every byte of it has a stated reason.
TEST(HostRun, TwoBankWriteTracesEveryEventAndLeavesTheImageInFlash) {
    const std::string file = ExamplePath("two-bank.kvf");
    const std::string trace = TempPath("two-bank.trace");
    const std::string flash = TempPath("two-bank-flash.bin");
    std::remove(flash.c_str());

    const HostResult r = RunInProcess({"--sim-flash", flash, "--trace", trace, "write", file});
    ASSERT_EQ(r.status, 0) << r.out << r.err;
    EXPECT_EQ(SplitLines(r.out).back(), "write: OK");

    const image::FirmwarePlan plan = PlanFor(file, false);
    ASSERT_TRUE(plan.Ready());
    ASSERT_TRUE(plan.programBank1);
    using namespace rtd::test;
    const Events expected = Events{"C", "L Begin...", "L LoadFile:" + file, "L Fire Bank0..."} +
                            ProgramBankTrace(plan.Bank(0), 0, true, false) +
                            Events{"L Fire Bank1..."} +
                            ProgramBankTrace(plan.Bank(1), 1, false, true);
    ExpectTrace(TraceEvents(trace), WithoutWaits(expected));

    EXPECT_EQ(ReadFileBytes(flash), plan.image);
}

// The message list and the exit status of each command against a misbehaving chip: each
// command once passing and once failing, and the write's failure lines. Which fault gives
// which line is the bank sequence's business and is checked with the engine.
TEST(HostRun, CommandsReportTheChipsFaultsThroughLinesAndExitStatus) {
    struct Case {
        std::vector<std::string> args;
        int status;
        Lines lines;
    };
    const std::string raw = ExamplePath("raw-image.bin");
    const Case cases[] = {
        {{"erase"}, 0, {"Begin...", "Erase...", "Reset..."}},
        {{"--sim-fault", "no-isp", "erase"}, 1, {"Begin...", "Enter Isp fail."}},
        {{"--sim-fault", "erase-busy=20", "erase"}, 1, {"Begin...", "Erase..."}},
        {{"reset"}, 0, {"Begin...", "Reset..."}},
        {{"--sim-fault", "isp-after=4", "reset"}, 1, {"Begin...", "Enter isp error."}},
        {{"write", raw}, 0, {"Begin...", "Fire Bank0...", "Erase...", "Write..."}},
        {{"--sim-fault", "stuck=0:10", "write", raw},
         1,
         {"Begin...", "Fire Bank0...", "Erase...", "Write...", "Crc Error!"}},
        {{"--sim-fault", "crc-range-busy=30", "write", raw},
         1,
         {"Begin...", "Fire Bank0...", "Erase...", "Write...", "Read Crc fail!"}},
        // A bus whose reads fail must not look like a chip that answered (the pre-flight
        // would refuse this bus before the plug-in sees it).
        {{"--no-preflight", "--sim-fault", "read-fail", "write", raw},
         1,
         {"Begin...", "Fire Bank0...", "Enter isp error!"}},
    };
    const std::string trace = TempPath("faults.trace");
    for (const Case& c : cases) {
        std::vector<std::string> args = {"--trace", trace};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const HostResult r = RunInProcess(args);
        const std::string what = c.args.size() > 1 ? c.args[c.args.size() - 2] : c.args[0];
        EXPECT_EQ(r.status, c.status) << what << "\n" << r.out << r.err;
        EXPECT_EQ(MessageLines(trace), c.lines) << what;
        EXPECT_EQ(SplitLines(r.out).back(), c.args.back() == raw
                                                ? (c.status ? "write: FAILED" : "write: OK")
                                                : c.args.back() + (c.status ? ": FAILED" : ": OK"))
            << what;
    }
}

// The power goes in the middle of a write; the flash file keeps what the cut left, and
// the next run, a chip with its power back, writes the image.
TEST(HostRun, AWriteCutByThePowerIsRecoveredByTheNextWrite) {
    const std::string file = ExamplePath("two-bank.kvf");
    const std::string flash = TempPath("power-cut-flash.bin");
    std::remove(flash.c_str());
    const image::FirmwarePlan plan = PlanFor(file, false);
    ASSERT_TRUE(plan.Ready());

    HostResult r =
        RunInProcess({"--sim-flash", flash, "--sim-fault", "power-cut@20", "write", file});
    EXPECT_EQ(r.status, 1) << r.out << r.err;
    EXPECT_EQ(SplitLines(r.out).back(), "write: FAILED");
    const std::vector<uint8_t> cut = ReadFileBytes(flash);
    ASSERT_EQ(cut.size(), plan.image.size());
    EXPECT_TRUE(cut != plan.image) << "the cut changed nothing";

    r = RunInProcess({"--sim-flash", flash, "write", file});
    EXPECT_EQ(r.status, 0) << r.out << r.err;
    EXPECT_TRUE(ReadFileBytes(flash) == plan.image) << "not the image after the second write";
}

TEST(HostRun, RefusedFilesNeverReachTheChip) {
    const rtd::test::TempDir files;
    const std::string bad = files.Write("not-packed.kvf", "not a packed file");
    const std::string shifted =
        files.Write("shifted.hex", ":0100000001FE\r\n:020000040001F9\r\n:00000001FF\r\n");
    const std::string trace = TempPath("refused.trace");
    for (const std::string& file :
         {bad, TempPath("missing.bin"), TempPath("missing.hex"), shifted}) {
        const HostResult r = RunInProcess({"--trace", trace, "write", file});
        EXPECT_EQ(r.status, 1) << file;
        EXPECT_TRUE(TraceEvents(trace, "WR").empty()) << file;
        EXPECT_FALSE(MessageLines(trace).empty()) << file;
    }
    // The image tools say which record and why.
    const HostResult info = RunInProcess({"image", "info", shifted});
    EXPECT_EQ(info.status, 1);
    EXPECT_NE(info.out.find("Refused:     bad Intel HEX record in " + shifted +
                            ", line 2: extended linear address 0x0001 is not supported"),
              std::string::npos)
        << info.out;
}

TEST(HostRun, SetupProblemsAreUsageErrorsWithOneLine) {
    const rtd::test::TempDir files;
    const std::string wrongSize = files.Write("wrong-size-flash.bin", "short");
    const std::vector<std::vector<std::string>> cases = {
        {"--sim-fault", "melt", "erase"},
        {"--sim-fault", "page-busy=x", "erase"},
        {"--sim-flash", wrongSize, "erase"},
        {"--trace", TempPath("no-such-dir/t.trace"), "erase"},
        {"--plugin", TempPath("no-plugin-here.so"), "info"},
        {"--bus", "/dev/i2c-no-such-adapter", "erase"},
        {"--bus", "ch341:x", "erase"},
        {"--bus", "ch341:9", "erase"},
        {"--bus", "ch341:model", "--sim-fault", "unplug=x", "erase"},
        {"--sim-fault", "nack-address", "erase"},
        {"--sim-adapter", "max-write=0", "erase"},
        {"--sim-adapter", "nack=4A5", "erase"},
        {"--bus-speed", "300", "erase"},
        {"erase", "--bogus"},
        {},
    };
    for (const auto& args : cases) {
        const HostResult r = RunInProcess(args);
        const std::string what = args.empty() ? "(none)" : args[0] + " " + args[1];
        EXPECT_EQ(r.status, 2) << what;
        EXPECT_EQ(SplitLines(r.err).size(), 1u) << what << ": " << r.err;
        EXPECT_EQ(r.err.rfind("isphost: ", 0), 0u) << r.err;
    }
}

TEST(HostRun, ImageToolsAgreeWithWhatTheChipGetsAndRoundTripThroughPacking) {
    const std::string file = ExamplePath("two-bank.kvf");
    const std::string image = TempPath("tools-image.bin");
    const std::string packed = TempPath("tools-repacked.kvf");
    const std::string again = TempPath("tools-again.bin");
    ASSERT_EQ(RunInProcess({"image", "convert", file, image}).status, 0);
    ASSERT_EQ(RunInProcess({"image", "pack", image, packed}).status, 0);
    ASSERT_EQ(RunInProcess({"image", "convert", packed, again}).status, 0);
    EXPECT_EQ(ReadFileBytes(image).size(), 131072u);
    EXPECT_EQ(ReadFileBytes(again), ReadFileBytes(image));
    EXPECT_EQ(ReadFileBytes(packed), ReadFileBytes(file)); // the example was made by this packer

    const HostResult info = RunInProcess({"image", "info", file});
    EXPECT_EQ(info.status, 0);
    const Lines lines = SplitLines(info.out);
    ASSERT_GE(lines.size(), 6u);
    EXPECT_EQ(lines[1], "Flow:        packed firmware");
    EXPECT_EQ(lines[3], "Banks:       0 and 1");

    const HostResult refused = RunInProcess({"image", "info", TempPath("missing.kvf")});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.out.find("Refused:"), std::string::npos);
}

TEST(HostRun, EnterIspRunsElevenSecondsOfProgressAndLeavesTheListAlone) {
    const std::string trace = TempPath("enter-isp.trace");
    const HostResult r = RunInProcess({"--trace", trace, "enter-isp"});
    EXPECT_EQ(r.status, 0);
    Lines progress;
    for (const std::string& event : TraceEvents(trace)) {
        EXPECT_TRUE(event[0] == 'W' || event[0] == 'R' || event[0] == 'P') << event;
        if (event[0] == 'P' && (progress.empty() || progress.back() != event))
            progress.push_back(event);
    }
    EXPECT_EQ(progress, (Lines{"P 0", "P 10", "P 20", "P 30", "P 40", "P 50", "P 60", "P 70",
                               "P 80", "P 90", "P 100"}));
}

} // namespace
} // namespace rtd::host::test

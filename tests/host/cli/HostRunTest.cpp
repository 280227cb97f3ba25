// The whole host against the built plug-in and the chip model: the plug-in is loaded by
// path and driven only through its exports, as a user's run of isphost does.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <sstream>

#include "ExpectedTrace.h"
#include "Help.h"
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
        // Quiet: only the result line, and on a failure the plug-in's last line on stderr.
        args.insert(args.begin(), "-q");
        const HostResult quiet = RunInProcess(args);
        EXPECT_EQ(quiet.status, c.status) << what;
        EXPECT_EQ(SplitLines(quiet.out).size(), 1u) << what << "\n" << quiet.out;
        EXPECT_EQ(quiet.err.find("isphost: " + c.lines.back() + "\n") != std::string::npos,
                  c.status != 0)
            << what << "\n"
            << quiet.err;
    }
}

// -v copies the trace's bus lines to stderr, with or without --trace.
TEST(HostRun, VerboseShowsTheTracesBusLinesOnStderr) {
    const std::string trace = TempPath("verbose.trace");
    const HostResult traced = RunInProcess({"-v", "--trace", trace, "reset"});
    ASSERT_EQ(traced.status, 0) << traced.err;
    const Events bus = TraceEvents(trace, "WR");
    ASSERT_FALSE(bus.empty());
    EXPECT_EQ(SplitLines(traced.err), bus);
    const HostResult alone = RunInProcess({"--verbose", "reset"});
    EXPECT_EQ(alone.status, 0) << alone.err;
    EXPECT_EQ(SplitLines(alone.err).front(), bus.front());
    EXPECT_TRUE(RunInProcess({"reset"}).err.empty());
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

// One example of --help: its words and what its comment says the run ends with.
struct Example {
    std::vector<std::string> words;
    int status = -1; // "exit N"; -1: not named
    Lines texts;     // each "TEXT": a line of the output holds it
};

std::vector<Example> HelpExamples() {
    const Lines help = SplitLines(HelpText());
    std::vector<Example> examples;
    bool inExamples = false;
    for (size_t i = 0; i < help.size(); ++i) {
        inExamples = inExamples || help[i].rfind("Examples", 0) == 0;
        if (!inExamples || help[i].rfind("  isphost ", 0) != 0)
            continue;
        std::string line = help[i];
        // A long command line has its comment alone on the next line.
        if (line.find("  # ") == std::string::npos && i + 1 < help.size())
            line += help[++i];
        const size_t hash = line.find("  # ");
        Example e;
        std::istringstream words(line.substr(10, hash == std::string::npos ? hash : hash - 10));
        for (std::string w; words >> w;)
            e.words.push_back(w);
        const std::string comment = hash == std::string::npos ? "" : line.substr(hash + 4);
        for (size_t at = 0; at < comment.size(); ++at) {
            if (comment[at] == '"') {
                const size_t end = comment.find('"', at + 1);
                e.texts.push_back(comment.substr(at + 1, end - at - 1));
                at = end;
            } else if (comment.compare(at, 5, "exit ") == 0) {
                e.status = comment[at + 5] - '0';
                at = std::min(comment.find(", ", at), comment.size());
            }
        }
        examples.push_back(e);
    }
    return examples;
}

// Every example of --help, in order, as written: a real bus by its model over one flash
// file (the bench's chip), firmware.hex by examples/app.hex, other files in the temporary
// folder. Each ends as its comment says.
TEST(HostRun, EveryHelpExampleEndsAsItsCommentSays) {
    const std::vector<Example> examples = HelpExamples();
    ASSERT_GT(examples.size(), 10u);
    const std::string bench = TempPath("example-bench.bin");
    for (const char* file : {"example-bench.bin", "example-chip.bin", "example-line1.csv"})
        std::remove(TempPath(file).c_str());
    const struct {
        const char* bus;
        const char* model;
    } models[] = {{"/dev/i2c-1", "sim"}, {"ch341", "ch341:model"}, {"ftdi:0:A", "ftdi:model"}};
    for (const Example& e : examples) {
        std::vector<std::string> args;
        for (const std::string& w : e.words) {
            const auto model = std::find_if(std::begin(models), std::end(models),
                                            [&](const auto& m) { return w == m.bus; });
            if (model != std::end(models))
                args.insert(args.end(), {model->model, "--sim-flash", bench});
            else if (w == "firmware.hex")
                args.push_back(ExamplePath("app.hex"));
            else if (w.rfind("examples/", 0) == 0)
                args.push_back(ExamplePath(w.substr(9)));
            else if (w.find('.') != std::string::npos)
                args.push_back(TempPath("example-" + w));
            else
                args.push_back(w);
        }
        const std::string what = e.words.back();
        ASSERT_TRUE(e.status >= 0 || !e.texts.empty()) << what << ": no comment to check";
        const HostResult r = RunInProcess(args);
        if (e.status >= 0) {
            EXPECT_EQ(r.status, e.status) << what << "\n" << r.out << r.err;
        }
        const Lines lines = SplitLines(r.out + r.err);
        for (const std::string& text : e.texts)
            EXPECT_TRUE(std::any_of(
                lines.begin(), lines.end(),
                [&](const std::string& l) { return l.find(text) != std::string::npos; }))
                << what << ": no \"" << text << "\"\n"
                << r.out << r.err;
    }
}

} // namespace
} // namespace rtd::host::test

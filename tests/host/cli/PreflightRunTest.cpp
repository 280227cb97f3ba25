// The bench safety of the host: the pre-flight that keeps a bus which cannot carry the
// write from erasing the chip, the lock that keeps a second host off a bus in use, and
// the host's own diagnosis after a failed command.
#include <gtest/gtest.h>

#include "ExpectedTrace.h"
#include "FileLock.h"
#include "HostRun.h"

namespace rtd::host::test {
namespace {

using Lines = std::vector<std::string>;

// Each refusal, for write, erase and check alike: exit 2, the one line, no transfer of
// the plug-in, the flash as it was. Without the pre-flight the same write goes ahead, and
// where the fault strikes after the erase the chip is left erased and the write fails.
TEST(PreflightRun, EachRefusalKeepsTheChipAndWithoutItTheWriteFailsAfterTheErase) {
    const rtd::test::TempDir dir;
    const std::string file = ExamplePath("two-bank.kvf");
    const std::string flash = dir.Path("flash.bin"), trace = dir.Path("t.trace");
    ASSERT_EQ(RunInProcess({"--sim-flash", flash, "write", file}).status, 0);
    const std::vector<uint8_t> programmed = ReadFileBytes(flash);

    const std::string noDevice = ": check SDA/SCL/GND and power";
    const struct {
        std::string limit;
        std::string line;   // on stderr, after "isphost: "
        bool erasedWithout; // the write without pre-flight erases before it fails
    } cases[] = {
        {"max-write=61",
         "adapter refuses 257-byte messages (limit 61): use an adapter that takes a page write "
         "in one message (a USB adapter: --bus ch341, ftdi or mcp2221; an i2c-dev adapter without a message limit)",
         true},
        {"max-write=256", "adapter refuses 257-byte messages (limit 256): use", true},
        {"nack=4A", "no device answers at 0x4A" + noDevice, false},
        {"nack=4b", "no device answers at 0x4B, although 0x4A answered: the chip's ISP port", true},
        {"no-pullups", "no device answers at 0x4A" + noDevice, false},
    };
    for (const auto& c : cases) {
        for (const Lines& command : {Lines{"write", file}, Lines{"erase"}, Lines{"check"}}) {
            Lines args = {"--sim-adapter", c.limit, "--sim-flash", flash, "--trace", trace};
            args.insert(args.end(), command.begin(), command.end());
            const HostResult r = RunInProcess(args);
            const std::string what = c.limit + " " + command[0];
            EXPECT_EQ(r.status, 2) << what;
            EXPECT_EQ(r.err.substr(0, 9 + c.line.size()), "isphost: " + c.line) << what;
            EXPECT_EQ(SplitLines(r.err).size(), 1u) << what << "\n" << r.err;
            // Wiring advice only where the address that did not answer is 0x4A.
            EXPECT_EQ(r.err.find("SDA/SCL") != std::string::npos,
                      c.limit == "nack=4A" || c.limit == "no-pullups")
                << what;
            if (command[0] != "check") {
                EXPECT_TRUE(TraceEvents(trace, "WR").empty()) << what;
            }
            EXPECT_EQ(ReadFileBytes(flash), programmed) << what;
        }
        const HostResult without =
            RunInProcess({"--no-preflight", "--sim-adapter", c.limit, "--sim-flash", flash,
                          "--trace", trace, "write", file});
        EXPECT_EQ(without.status, 1) << c.limit;
        EXPECT_EQ(Erases(TraceEvents(trace)), c.erasedWithout) << c.limit;
        EXPECT_EQ(ReadFileBytes(flash) != programmed, c.erasedWithout) << c.limit;
        ASSERT_EQ(RunInProcess({"--sim-flash", flash, "write", file}).status, 0);
    }

    const HostResult healthy = RunInProcess({"--sim-flash", flash, "check"});
    EXPECT_EQ(healthy.status, 0) << healthy.err;
    EXPECT_EQ(SplitLines(healthy.out),
              (Lines{"sim: plain I2C transfers: yes", "sim: chip answers at 0x4A (status 00)",
                     "sim: chip answers at 0x4B", "sim: 257-byte writes in one message: yes",
                     "check: OK"}));
    EXPECT_EQ(ReadFileBytes(flash), programmed);
}

#if defined(__linux__)
// A path that is no i2c-dev adapter is named as such, with what to use, before any
// check: not "offers SMBus transfers only".
TEST(PreflightRun, APathThatIsNoI2cAdapterIsRefusedAsSuch) {
    const rtd::test::TempDir dir;
    for (const std::string& path :
         {std::string("/dev/null"), dir.Write("plain.txt", "text"), dir.MakeFolder("folder")}) {
        const HostResult r = RunInProcess({"--bus", path, "check"});
        EXPECT_EQ(r.status, 2) << path;
        EXPECT_EQ(r.err.rfind("isphost: " + path + ": not an I2C adapter (", 0), 0u) << r.err;
        EXPECT_NE(r.err.find("): use an i2c-dev adapter, /dev/i2c-N"), std::string::npos) << r.err;
        EXPECT_EQ(SplitLines(r.err).size(), 1u) << r.err;
    }
}
#endif

// A second isphost on a simulated chip in use: "bus busy", exit 2, not one transfer;
// once the first lets go, the chip is free again.
TEST(PreflightRun, ASecondHostOnTheSameSimulatedChipIsBusy) {
    const rtd::test::TempDir dir;
    const std::string flash = dir.Path("shared.bin"), trace = dir.Path("second.trace");
    ASSERT_EQ(RunInProcess({"--sim-flash", flash, "erase"}).status, 0);
    const std::vector<uint8_t> before = ReadFileBytes(flash);
    {
        FileLock::Outcome outcome;
        std::string error;
        const auto first = FileLock::Acquire(flash, &outcome, &error); // as the first host holds it
        ASSERT_TRUE(first) << error;
        const HostResult second = RunExecutable(ExecutablePath(),
                                                "--sim-flash " + flash + " --trace " + trace +
                                                    " write " + ExamplePath("two-bank.kvf"),
                                                dir.Path(""));
        EXPECT_EQ(second.status, 2) << second.out << second.err;
        EXPECT_EQ(SplitLines(second.err),
                  Lines{"isphost: bus busy: another isphost is using the simulated chip in " +
                        flash + " (one command at a time)"});
        EXPECT_EQ(ReadFileText(trace), "");
        EXPECT_EQ(ReadFileBytes(flash), before);
    }
    EXPECT_EQ(RunInProcess({"--sim-flash", flash, "write", ExamplePath("two-bank.kvf")}).status, 0);
    EXPECT_NE(ReadFileBytes(flash), before);
}

// A flash file the host creates is locked from the start and gone again when nothing
// was saved into it, so the next run does not find an empty file.
TEST(PreflightRun, AFlashFileThatWasNeverWrittenIsNotLeftBehind) {
    const rtd::test::TempDir dir;
    const std::string flash = dir.Path("new.bin");
    EXPECT_EQ(RunInProcess({"--sim-flash", flash, "--sim-adapter", "nack=4A", "erase"}).status, 2);
    EXPECT_FALSE(dir.Has("new.bin"));
    EXPECT_EQ(RunInProcess({"--sim-flash", flash, "check"}).status, 0);
    EXPECT_FALSE(dir.Has("new.bin"));
    EXPECT_EQ(RunInProcess({"--sim-flash", flash, "erase"}).status, 0);
    EXPECT_EQ(ReadFileBytes(flash), std::vector<uint8_t>(131072, 0xFF));
}

// The diagnosis goes to the host's output, never into the plug-in's message list.
TEST(PreflightRun, TheDiagnosisIsTheHostsOwnLine) {
    const rtd::test::TempDir dir;
    const std::string trace = dir.Path("d.trace");
    const HostResult r = RunInProcess(
        {"--trace", trace, "--sim-fault", "stuck=1:0010", "write", ExamplePath("two-bank.kvf")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(HostLines(r.err, true),
              (Lines{"isphost: diagnosis: the chip's CRC-8 of bank 1 does not match what was "
                     "written; the bus carried every transfer and the status reads did not look "
                     "stuck: the flash holds other bytes than were sent",
                     "isphost: diagnosis: the adapter reported no failed bus transfer",
                     "isphost: diagnosis: the chip is erased and partly written: run write "
                     "again"}));
    EXPECT_EQ(ReadFileText(trace).find("diagnosis"), std::string::npos);
}

} // namespace
} // namespace rtd::host::test

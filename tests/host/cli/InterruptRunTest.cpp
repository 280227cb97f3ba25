// Stopping a command: the bus refuses the transactions after the stop, the model's flash
// is saved as the chip holds it, one line says what that is, and the exit status is 130.
// Natively with real signals sent to the built isphost at points read from its
// --verbose bus lines; everywhere through the handler's own function.
#include <gtest/gtest.h>

#if !defined(_WIN32)
#include <signal.h>
#endif

#include <algorithm>

#include "HostRun.h"
#include "StopRequest.h"

namespace rtd::host::test {
namespace {

using Bytes = std::vector<uint8_t>;

const Bytes kOldFirmware(131072, 0x00); // what the chip held before the write

// The state line on stderr, "" when none.
std::string StateLine(const std::string& err) {
    for (const std::string& line : SplitLines(err))
        if (line.rfind("isphost: interrupted; ", 0) == 0)
            return line.substr(22);
    return "";
}

TEST(InterruptRun, AStopBeforeTheFirstTransferLeavesTheChipUntouched) {
    const rtd::test::TempDir dir;
    const std::string flash = dir.Write("flash.bin", kOldFirmware);
    OnStopSignal(); // as Ctrl-C (a console event on Windows) would
    const HostResult r = RunInProcess({"--sim-flash", flash, "write", ExamplePath("two-bank.kvf")});
    SetStopSignals(0);
    EXPECT_EQ(r.status, 130) << r.err;
    EXPECT_EQ(StateLine(r.err), "the chip is untouched") << r.err;
    EXPECT_EQ(ReadFileBytes(flash), kOldFirmware);
    EXPECT_EQ(r.err.find("diagnosis:"), std::string::npos) << r.err;
}

#if !defined(_WIN32)
bool AllErased(const Bytes& flash) {
    return std::all_of(flash.begin(), flash.end(), [](uint8_t b) { return b == 0xFF; });
}

TEST(InterruptRun, EachSignalStopsAWriteAtTheNextTransaction) {
    const rtd::test::TempDir dir;
    const std::string image = dir.Path("image.bin");
    ASSERT_EQ(RunInProcess({"image", "convert", ExamplePath("two-bank.kvf"), image}).status, 0);
    const Bytes written = ReadFileBytes(image);
    // The bus line after which the signal is sent; one transfer more reaches the chip.
    const struct {
        const char* point;
        const char* after;
        const char* state;
    } points[] = {
        {"before erase", "W 94 36 00", "the chip is untouched"},
        {"after erase", "W 94 90 C0", "the chip is erased"},
        {"mid-write", "W 96 92 03 00", "the chip is erased and partly written: run write again"},
    };
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        for (const auto& p : points) {
            SCOPED_TRACE(std::string(p.point) + ", signal " + std::to_string(signal));
            const std::string flash = dir.Write("flash.bin", kOldFirmware);
            const HostResult r = RunSignalled({"-v", "--sim-adapter", "slow=40", "--sim-flash",
                                               flash, "write", ExamplePath("two-bank.kvf")},
                                              {{p.after, signal}});
            EXPECT_EQ(r.status, 130);
            EXPECT_EQ(StateLine(r.err), p.state) << r.err.substr(r.err.size() - 300);
            const Bytes saved = ReadFileBytes(flash);
            if (std::string(p.point) == "before erase") {
                EXPECT_EQ(saved, kOldFirmware);
            } else if (std::string(p.point) == "after erase") {
                EXPECT_TRUE(AllErased(saved));
            } else {
                // Each byte the new firmware's or erased, the first pages sent: never old.
                ASSERT_EQ(saved.size(), written.size());
                bool newOrErased = true;
                for (size_t i = 0; i < saved.size(); ++i)
                    newOrErased = newOrErased && (saved[i] == written[i] || saved[i] == 0xFF);
                EXPECT_TRUE(newOrErased);
                EXPECT_TRUE(std::equal(saved.begin(), saved.begin() + 3 * 256, written.begin()));
                EXPECT_NE(saved, written);
            }
        }
    }
}

TEST(InterruptRun, AReaderThatWentAwayNeitherStopsNorFailsTheWrite) {
    const rtd::test::TempDir dir;
    const std::string image = dir.Path("image.bin"), flash = dir.Path("flash.bin");
    ASSERT_EQ(RunInProcess({"image", "convert", ExamplePath("two-bank.kvf"), image}).status, 0);
    const HostResult r =
        RunSignalled({"--sim-flash", flash, "write", ExamplePath("two-bank.kvf")}, {}, true);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadFileBytes(flash), ReadFileBytes(image));
    EXPECT_NE(r.err.find("cannot write to standard output"), std::string::npos) << r.err;
}

TEST(InterruptRun, TheStationFinishesTheBoardOnTheFirstSignalAndStopsOnTheSecond) {
    const rtd::test::TempDir dir;
    const char* const kNotice = "finishing board 1, then stopping; Ctrl-C again to stop now";
    const struct {
        std::vector<SignalAt> steps;
        int status;
        const char* result; // of the one row
    } cases[] = {
        {{{"W 96 92 03 00", SIGINT}}, 0, "passed"},
        {{{"W 96 92 03 00", SIGTERM}, {kNotice, SIGINT}}, 130, "interrupted"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.result);
        const std::string log = dir.Path(std::string(c.result) + ".csv");
        const HostResult r =
            RunSignalled({"-v", "--sim-adapter", "slow=2", "--sim-adapter", "swap=1", "station",
                          ExamplePath("two-bank.kvf"), "--log", log, "--boards", "3"},
                         c.steps);
        EXPECT_EQ(r.status, c.status);
        EXPECT_NE(r.err.find(kNotice), std::string::npos);
        const std::vector<std::string> rows = SplitLines(ReadFileText(log));
        ASSERT_EQ(rows.size(), 2u); // the header and the board
        EXPECT_NE(rows[1].find(std::string(",") + c.result + ","), std::string::npos) << rows[1];
    }
}
#endif

} // namespace
} // namespace rtd::host::test

// Every fault of the chip model, switched on at every transfer of a command: the result
// and the message lines must be those the protocol prescribes for the first step that
// the fault defeats, the run up to the fault must be the healthy one, no 90 00 may follow
// the failing step, and a true result must mean the flash really holds the firmware.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "ChipModel.h"
#include "Commands.h"
#include "FaultAfterBus.h"
#include "FaultOracle.h"
#include "FaultRunFixture.h"
#include "HexText.h"
#include "Ispunit.h"
#include "ReferenceCrc.h"
#include "TempDir.h"
#include "TwoBankImage.h"
#include "WireScript.h"

namespace rtd::test {
namespace {

class FaultMatrixTest : public FaultRunFixture {
protected:
    // Compares one run with what the protocol prescribes for it.
    void Check(const WireScript& script, const Outcome& want, bool ok, int k) {
        EXPECT_EQ(ok, want.ok);
        EXPECT_EQ(lines->Lines(), want.lines);

        const Events wire = BusEvents(events);
        const int healthy = std::min(k, script.Transfers());
        ASSERT_GE(static_cast<int>(wire.size()), healthy);
        EXPECT_EQ(Events(wire.begin(), wire.begin() + healthy), script.HealthyPrefix(healthy))
            << "the run before the fault differs from a healthy one";

        // Nothing takes the chip out of ISP mode once the failing step was reached.
        EXPECT_EQ(std::count(wire.begin(), wire.end(), ExitIsp()[0]), want.exits);
    }

    // Runs `command` with every fault from every transfer and checks each run; calls
    // `onSuccess` after each true result. Returns how many runs failed.
    template <typename Command, typename OnSuccess>
    int RunMatrix(const WireScript& script, Command command, OnSuccess onSuccess) {
        int failures = 0;
        for (Fault fault : kAllFaults)
            for (int k = 0; k <= script.Transfers(); ++k) {
                SCOPED_TRACE(FaultFromTransfer(fault, k));
                Arm(fault, k);
                const bool ok = command();
                Check(script, FaultOracle(fault, k).Run(script), ok, k);
                if (ok)
                    onSuccess();
                failures += ok ? 0 : 1;
            }
        return failures;
    }

    // The Write export of `path` under the whole matrix: a true result must have flashed
    // the image.
    void RunWriteMatrix(const WireScript& script, const std::string& path,
                        const TwoBankImage& two) {
        const AnsiStringPtr argument = AnsiStringNew(path.c_str());
        RunMatrix(
            script, [&] { return Write(argument); }, [&] { ExpectFlashed(two); });
        AnsiStringRelease(argument);
    }

    void ExpectFlashed(const TwoBankImage& two) {
        EXPECT_TRUE(two.DataIn(*chip)) << "reported verified but holds other bytes";
    }
};

TEST_F(FaultMatrixTest, TwoBankSequence) {
    const TwoBankImage two;
    two.CheckCrcsAreTelling();
    const int failures = RunMatrix(
        two.script,
        [&] {
            return ProgramBank(two.windows[0].data(), 0, true, false) &&
                   ProgramBank(two.windows[1].data(), 1, false, true);
        },
        [&] { ExpectFlashed(two); });
    // The matrix must exercise failures as well as late faults that change nothing.
    EXPECT_GT(failures, 0);
    EXPECT_LT(failures, static_cast<int>(std::size(kAllFaults)) * (two.script.Transfers() + 1));
}

// The same two banks through the Write export, from a raw image file.
TEST_F(FaultMatrixTest, TwoBankWriteExport) {
    const TwoBankImage two;
    two.CheckCrcsAreTelling();
    TempDir files;
    RunWriteMatrix(two.WriteScript(), files.Write("two-bank.bin", two.RawFile()), two);
}

// Bank 0 from a HEX file and bank 1 from its raw extend file: the flow logs no bank lines
// of its own, and the extend file is written without a second erase.
TEST_F(FaultMatrixTest, HexWriteWithExtendFile) {
    const TwoBankImage two;
    WireScript script;
    script.Line("Begin...");
    script.ProgramBank(two.windows[0].data(), 0, true, false);
    script.ProgramBank(two.windows[1].data(), 1, false, true);

    TempDir files;
    const std::string main =
        files.Write("fw.hex", HexFileFor(two.windows[0], static_cast<size_t>(two.dataLength[0])));
    files.Write("fw_Extend.bin", std::vector<uint8_t>(two.windows[1].begin(),
                                                      two.windows[1].begin() + two.dataLength[1]));
    IspUnit->AutoFireSecond = true;
    RunWriteMatrix(script, main, two);
}

// A failed read of the chip's CRC must never pass for a match, whatever value the
// image's own CRC has: one data byte per CRC that a failed or stale read could mimic.
TEST_F(FaultMatrixTest, FailedCrcReadNeverMatches) {
    for (uint8_t target : {0xFF, 0x00, 0x40, 0x60}) {
        std::vector<uint8_t> window(65536, 0xFF);
        while (window[0] == 0xFF || ReferenceCrc8(window.data(), 1) != target)
            ++window[0];
        WireScript script;
        script.ProgramBank(window.data(), 0, true, true);
        for (int k = 0; k <= script.Transfers(); ++k) {
            SCOPED_TRACE("CRC " + std::to_string(target) + ", " +
                         FaultFromTransfer(Fault::ReadFail, k));
            Arm(Fault::ReadFail, k);
            const bool ok = ProgramBank(window.data(), 0, true, true);
            Check(script, FaultOracle(Fault::ReadFail, k).Run(script), ok, k);
        }
    }
}

TEST_F(FaultMatrixTest, EraseCommand) {
    WireScript script;
    script.Line("Begin...");
    script.Entry("Enter Isp fail.");
    script.Line("Erase...");
    script.Erase(""); // a failed erase adds no line of its own
    script.Line("Reset...");
    script.Exit();
    RunMatrix(script, Erase, [] {});
}

TEST_F(FaultMatrixTest, ResetCommand) {
    WireScript script;
    script.Line("Begin...");
    script.Entry("Enter isp error.");
    script.Line("Reset...");
    script.Exit();
    RunMatrix(script, Reset, [] {});
}

// The entry loop has no failure: whatever the chip does, it runs its 11 seconds, adds
// no line, never leaves ISP mode and never posts more than 100.
TEST_F(FaultMatrixTest, EnterIspLoop) {
    const int sampled[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 1001, 20000};
    for (Fault fault : kAllFaults)
        for (int k : sampled) {
            SCOPED_TRACE(FaultFromTransfer(fault, k));
            Arm(fault, k);
            const uint64_t start = platform.NowMs();
            EXPECT_TRUE(ExtFunc(nullptr));
            EXPECT_TRUE(lines->Lines().empty());
            EXPECT_EQ(std::count(events.begin(), events.end(), ExitIsp()[0]), 0);
            EXPECT_GE(platform.NowMs() - start, 11000u);
            int last = 0;
            for (const std::string& e : events)
                if (e[0] == 'P') {
                    const int percent = std::stoi(e.substr(2));
                    EXPECT_LE(percent, 100);
                    EXPECT_GE(percent, last);
                    last = percent;
                }
            EXPECT_EQ(last, 100);
        }
}

} // namespace
} // namespace rtd::test

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
#include "HexText.h"
#include "Ispunit.h"
#include "PluginFixture.h"
#include "ReferenceCrc.h"
#include "TempDir.h"
#include "WireScript.h"

namespace rtd::test {
namespace {

constexpr Fault kFaults[] = {Fault::NoIsp,        Fault::EraseBusy, Fault::PageBusy,
                             Fault::CrcRangeBusy, Fault::CrcBusy,   Fault::ReadFail,
                             Fault::DropWrites,   Fault::StuckBit};

// A 64 KiB window whose first `length` bytes hold data (never 0xFF, so no page is
// skipped and every stuck byte matters), the rest erased.
std::vector<uint8_t> Window(int length, int step) {
    std::vector<uint8_t> window(65536, 0xFF);
    for (int i = 0; i < length; ++i)
        window[static_cast<size_t>(i)] = static_cast<uint8_t>((i * step + 0x11) % 0xFF);
    return window;
}

class FaultMatrixTest : public PluginFixture {
protected:
    FaultMatrixTest() { HandOverAll(); }

    // A blank chip behind a bus that starts `fault` at transfer k; fresh events and list.
    void Arm(Fault fault, int k) {
        chip = std::make_unique<sim::ChipModel>();
        faultBus = std::make_unique<FaultAfterBus>(chip.get(), fault, k);
        bus.SetInner(faultBus.get());
        events.clear();
        lines = std::make_unique<RecordingStrings>(&events);
        SetInfoList(lines.get());
    }

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
        for (Fault fault : kFaults)
            for (int k = 0; k <= script.Transfers(); ++k) {
                SCOPED_TRACE(Describe(fault, k));
                Arm(fault, k);
                const bool ok = command();
                Check(script, FaultOracle(fault, k).Run(script), ok, k);
                if (ok)
                    onSuccess();
                failures += ok ? 0 : 1;
            }
        return failures;
    }

    static std::string Describe(Fault fault, int k) {
        return std::string(FaultName(fault)) + " from transfer " + std::to_string(k);
    }

    // A true result of a write means each bank holds its window's data.
    void ExpectFlashed(const std::vector<std::vector<uint8_t>>& windows, const int dataLength[2]) {
        for (int bank = 0; bank < 2; ++bank) {
            const std::vector<uint8_t>& flash = chip->Flash(bank);
            const auto n = static_cast<size_t>(dataLength[bank]);
            EXPECT_TRUE(std::equal(flash.begin(), flash.begin() + n, windows[bank].begin()))
                << "bank " << bank << " reported verified but holds other bytes";
        }
    }

    // The Write export of `path` under the whole matrix: a true result must have flashed
    // the windows.
    void RunWriteMatrix(const WireScript& script, const std::string& path,
                        const std::vector<std::vector<uint8_t>>& windows, const int dataLength[2]) {
        const AnsiStringPtr argument = AnsiStringNew(path.c_str());
        RunMatrix(
            script, [&] { return Write(argument); }, [&] { ExpectFlashed(windows, dataLength); });
        AnsiStringRelease(argument);
    }

    std::unique_ptr<sim::ChipModel> chip;
    std::unique_ptr<FaultAfterBus> faultBus;
    std::unique_ptr<RecordingStrings> lines;
};

// Two banks with data in full and short pages; bank 1's window follows bank 0's.
class TwoBankImage {
public:
    TwoBankImage() {
        windows = {Window(dataLength[0], 7), Window(dataLength[1], 13)};
        script.ProgramBank(windows[0].data(), 0, true, false);
        script.ProgramBank(windows[1].data(), 1, false, true);
    }

    // A chip that answers with a stale or failed byte must never match by chance.
    void CheckCrcsAreTelling() const {
        const uint8_t crc0 = ReferenceCrc8(windows[0].data(), static_cast<size_t>(dataLength[0]));
        const uint8_t crc1 = ReferenceCrc8(windows[1].data(), static_cast<size_t>(dataLength[1]));
        for (uint8_t crc : {crc0, crc1})
            for (uint8_t stale : {0x00, 0x40, 0x60, 0xFF})
                ASSERT_NE(crc, stale);
        ASSERT_NE(crc0, crc1);
    }

    const int dataLength[2] = {2 * 256 + 40, 256 + 44};
    std::vector<std::vector<uint8_t>> windows;
    WireScript script;
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
        [&] { ExpectFlashed(two.windows, two.dataLength); });
    // The matrix must exercise failures as well as late faults that change nothing.
    EXPECT_GT(failures, 0);
    EXPECT_LT(failures, static_cast<int>(std::size(kFaults)) * (two.script.Transfers() + 1));
}

// The same two banks through the Write export, from a raw image file.
TEST_F(FaultMatrixTest, TwoBankWriteExport) {
    const TwoBankImage two;
    two.CheckCrcsAreTelling();
    WireScript script;
    script.Line("Begin...");
    script.Line("Fire Bank0...");
    script.ProgramBank(two.windows[0].data(), 0, true, false);
    script.Line("Fire Bank1...");
    script.ProgramBank(two.windows[1].data(), 1, false, true);

    TempDir files;
    std::vector<uint8_t> raw = two.windows[0];
    raw.insert(raw.end(), two.windows[1].begin(), two.windows[1].begin() + two.dataLength[1]);
    RunWriteMatrix(script, files.Write("two-bank.bin", raw), two.windows, two.dataLength);
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
    RunWriteMatrix(script, main, two.windows, two.dataLength);
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
            SCOPED_TRACE("CRC " + std::to_string(target) + ", " + Describe(Fault::ReadFail, k));
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
    for (Fault fault : kFaults)
        for (int k : sampled) {
            SCOPED_TRACE(Describe(fault, k));
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

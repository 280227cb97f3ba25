// After a two-bank write that failed, wherever and however it failed, one healthy write
// of the same file leaves the chip verified with exactly the image: for every fault of the
// fault matrix from every transfer, and for the power going before every transfer. The
// failing write starts on a chip that holds older firmware, so that what it left behind
// (erased, programmed, half done) shows.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "ChipModel.h"
#include "FaultAfterBus.h"
#include "FaultRunFixture.h"
#include "TempDir.h"
#include "TwoBankImage.h"
#include "WireScript.h"

namespace rtd::test {
namespace {

using Flash = std::array<std::vector<uint8_t>, 2>;
using sim::ChipModel;

struct Unfinished {
    int erases = 0;
    int pages = 0;
};

// What the power going before transfer k leaves of the run `script` on a chip holding
// `flash`: each erase and page whose command reached the chip; of those that no status
// read reported done, half: an erase clears bank 0 only, a page programs its first half.
Flash AfterCut(const WireScript& script, int k, Flash flash, Unfinished& unfinished) {
    for (const Step& step : script.Steps()) {
        if (step.trigger < 0 || step.trigger >= k)
            continue;
        const bool reported = step.read < k;
        if (step.kind == TraceStep::Erase) {
            for (int bank = 0; bank < (reported ? 2 : 1); ++bank)
                std::fill(flash[bank].begin(), flash[bank].end(), ChipModel::kErased);
            unfinished.erases += reported ? 0 : 1;
        } else if (step.kind == TraceStep::Page) {
            // The page write: register 0x94, then the page's bytes.
            const std::vector<uint8_t>& frame = step.wire[step.trigger - step.first].bytes;
            const int programmed = reported ? ChipModel::kPageSize : ChipModel::kPageSize / 2;
            uint8_t* page =
                &flash[step.bank][static_cast<size_t>(step.page * ChipModel::kPageSize)];
            for (int i = 0; i < programmed; ++i)
                page[i] = ChipModel::Programmed(page[i], frame[static_cast<size_t>(1 + i)]);
            unfinished.pages += reported ? 0 : 1;
        }
    }
    return flash;
}

class RecoveryMatrixTest : public FaultRunFixture {
protected:
    RecoveryMatrixTest() { two.CheckCrcsAreTelling(); }
    ~RecoveryMatrixTest() override { AnsiStringRelease(argument); }

    void HoldOldFirmware() {
        chip->Flash(0) = old[0];
        chip->Flash(1) = old[1];
    }

    void ExpectHolds(const Flash& flash, const char* what) {
        for (int bank = 0; bank < 2; ++bank)
            EXPECT_TRUE(chip->Flash(bank) == flash[bank]) << "bank " << bank << ": " << what;
    }

    // One healthy write of the same file: every line of a healthy run, verified, ISP mode
    // left, and the flash exactly the image (the erased tail of each bank included).
    void ExpectRecovers() {
        EXPECT_TRUE(Write(argument));
        EXPECT_EQ(lines->Lines(), script.HealthyLines());
        EXPECT_FALSE(chip->InIsp());
        ExpectHolds({two.windows[0], two.windows[1]}, "not the image after the healthy write");
    }

    const TwoBankImage two;
    const WireScript script = two.WriteScript();
    // Older firmware filling both banks.
    const Flash old = {Window(ChipModel::kBankSize, 5), Window(ChipModel::kBankSize, 11)};
    TempDir files;
    const std::string path = files.Write("two-bank.bin", two.RawFile());
    const AnsiStringPtr argument = AnsiStringNew(path.c_str());
};

// The fault goes away before the second write, the chip keeps whatever state the first
// one left it in (in ISP mode, either bank selected, mid-way through the sequence).
TEST_F(RecoveryMatrixTest, EveryFaultFromEveryTransfer) {
    int failed = 0;
    for (Fault fault : kAllFaults)
        for (int k = 0; k <= script.Transfers(); ++k) {
            SCOPED_TRACE(FaultFromTransfer(fault, k));
            Arm(fault, k);
            HoldOldFirmware();
            failed += Write(argument) ? 0 : 1;
            Heal();
            ExpectRecovers();
        }
    EXPECT_GT(failed, 0);
}

// Every transfer from the entry to the final exit, both banks: the chip off from there
// on, then the power back and the write again.
TEST_F(RecoveryMatrixTest, PowerCutBeforeEveryTransfer) {
    Unfinished unfinished;
    int failed = 0;
    for (int k = 0; k <= script.Transfers(); ++k) {
        SCOPED_TRACE("power cut before transfer " + std::to_string(k));
        NewChip();
        HoldOldFirmware();
        ASSERT_TRUE(chip->AddFault("power-cut@" + std::to_string(k)));
        const bool ok = Write(argument);
        EXPECT_EQ(chip->Powered(), k == script.Transfers());
        if (ok) {
            EXPECT_TRUE(two.DataIn(*chip)) << "reported verified but holds other bytes";
        }
        failed += ok ? 0 : 1;

        chip->PowerCycle();
        ExpectHolds(AfterCut(script, k, old, unfinished), "not what the cut left");
        Heal();
        ExpectRecovers();
    }
    EXPECT_GT(failed, 0);
    // The sweep cuts erases and pages that were under way.
    EXPECT_GT(unfinished.erases, 0);
    EXPECT_GT(unfinished.pages, 0);
}

} // namespace
} // namespace rtd::test

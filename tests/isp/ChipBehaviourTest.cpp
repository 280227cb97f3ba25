// The bank sequence and the device commands against the chip model: each failure line
// comes from a real fault of the chip, and the chip is left as the failing step found it.
#include <memory>
#include <string>
#include <vector>

#include "ChipModel.h"
#include "Commands.h"
#include "IspFixture.h"

namespace rtd::test {
namespace {

class ChipBehaviourTest : public IspTest {
protected:
    ChipBehaviourTest() { bus.SetInner(&model()); }

    // A fresh chip with the given fault ("" for none), and no events yet.
    void Reset(const std::string& fault) {
        chipModel = std::make_unique<sim::ChipModel>();
        bus.SetInner(chipModel.get());
        std::string error;
        if (!fault.empty()) {
            ASSERT_TRUE(model().AddFault(fault, &error)) << fault << ": " << error;
        }
        events.clear();
    }

    // What the chip is left with: in ISP mode or not, exits seen, and whether bank 0 was
    // erased (its last byte, which the tests preset to 0x00 and no test image programs).
    struct ChipAfter {
        bool inIsp;
        int exits;
        bool erased;
    };
    void ExpectChip(const ChipAfter& after) {
        EXPECT_EQ(model().InIsp(), after.inIsp);
        EXPECT_EQ(model().Stats().ispExits, after.exits);
        EXPECT_EQ(model().Flash(0)[0xFFFF], after.erased ? 0xFF : 0x00);
    }

    // The firmware bytes of an image whose data ends at `length`.
    static std::vector<uint8_t> Image(int length) {
        std::vector<uint8_t> image = CountingImage(length, 0x21);
        image.resize(65536, 0xFF);
        return image;
    }

    sim::ChipModel& model() { return *chipModel; }

    std::unique_ptr<sim::ChipModel> chipModel = std::make_unique<sim::ChipModel>();
};

TEST_F(ChipBehaviourTest, ProgramBankFaults) {
    const Events written = {"L Erase...", "L Write..."};
    const Events notEntered = {"L Enter isp error!"};
    const ChipAfter running = {false, 2, true};   // verified, left ISP mode
    const ChipAfter afterWrite = {true, 1, true}; // failed after the second entry
    const ChipAfter untouched = {false, 0, false};
    const int pages = 3 * 256;
    const struct {
        const char* name;
        const char* fault;
        int length; // of the image's data
        bool ok;
        Events lines;
        ChipAfter after;
    } cases[] = {
        {"no fault", "", pages, true, written, running},
        {"entry on the third attempt", "isp-after=3", pages, true, written, running},
        {"never enters", "no-isp", pages, false, notEntered, untouched},
        {"enters too late", "isp-after=4", pages, false, notEntered, untouched},
        {"erase just in time", "erase-busy=9", pages, true, written, running},
        {"erase too slow",
         "erase-busy=10",
         pages,
         false,
         {"L Erase...", "L Erase fail!"},
         {true, 0, true}},
        {"full page too slow", "page-busy=10@1", pages, false, written + Events{"L Crc Error!"},
         afterWrite},
        {"final page too slow", "page-busy=10@2", 2 * 256 + 10, false,
         written + Events{"L Write fail!"}, afterWrite},
        {"page just in time", "page-busy=9", pages, true, written, running},
        {"CRC range too slow", "crc-range-busy=21", pages, false,
         written + Events{"L Read Crc fail!"}, afterWrite},
        {"CRC range just in time", "crc-range-busy=20", pages, true, written, running},
        {"CRC engine too slow", "crc-busy=101", pages, false, written + Events{"L Read Crc fail!"},
         afterWrite},
        {"CRC engine just in time", "crc-busy=100", pages, true, written, running},
        {"stuck flash byte", "stuck=0:0105", pages, false, written + Events{"L Crc Error!"},
         afterWrite},
        // The chip entered ISP mode, but the engine never saw the status.
        {"reads fail", "read-fail", pages, false, notEntered, {true, 0, false}},
        {"writes dropped", "drop-writes", pages, false, notEntered, untouched},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Reset(c.fault);
        model().Flash(0).assign(65536, 0x00);
        const std::vector<uint8_t> image = Image(c.length);
        EXPECT_EQ(ProgramBank(image.data(), 0, true, true), c.ok);
        ExpectTrace(ListEvents(events), c.lines);
        ExpectChip(c.after);
        if (c.ok) {
            EXPECT_EQ(model().Flash(0), image);
        }
    }
}

TEST_F(ChipBehaviourTest, TwoBanksShareOneErase) {
    model().Flash(0).assign(65536, 0x00); // old firmware everywhere
    model().Flash(1).assign(65536, 0x00);
    const std::vector<uint8_t> bank0 = Image(65536);
    std::vector<uint8_t> bank1 = Bytes(65536, 0xFF);
    bank1[0x8000] = 0x5A;

    EXPECT_TRUE(ProgramBank(bank0.data(), 0, true, false));
    EXPECT_TRUE(model().InIsp());
    EXPECT_TRUE(ProgramBank(bank1.data(), 1, false, true));
    EXPECT_FALSE(model().InIsp());
    EXPECT_EQ(model().Flash(0), bank0);
    EXPECT_EQ(model().Flash(1), bank1);
    EXPECT_EQ(model().Stats().erases, 2);
    EXPECT_EQ(model().Stats().ispExits, 2);
    ExpectTrace(ListEvents(events), {"L Erase...", "L Write...", "L Write..."});
}

// An empty window is checked over the whole bank: an erased bank verifies, a bank that
// still holds data does not.
TEST_F(ChipBehaviourTest, EmptyWindowVerifiesOnlyAnErasedBank) {
    const std::vector<uint8_t> empty = Bytes(65536, 0xFF);
    model().Flash(0).assign(65536, 0x00);
    EXPECT_TRUE(ProgramBank(empty.data(), 0, true, true));
    EXPECT_EQ(model().Flash(0), empty);

    model().Flash(0)[0x1234] = 0x00;
    ASSERT_TRUE(unit->EnterIsp());
    EXPECT_FALSE(ProgramBank(empty.data(), 0, false, true));
    EXPECT_EQ(list.Lines().back(), "Crc Error!");
    EXPECT_TRUE(model().InIsp());
}

TEST_F(ChipBehaviourTest, EraseAndResetFaults) {
    const Events erased = {"C", "L Begin...", "L Erase...", "L Reset..."};
    const Events eraseNotEntered = {"C", "L Begin...", "L Enter Isp fail."};
    const Events reset = {"C", "L Begin...", "L Reset..."};
    const Events resetNotEntered = {"C", "L Begin...", "L Enter isp error."};
    const struct {
        const char* name;
        bool (*command)();
        const char* fault;
        bool ok;
        Events lines;
        ChipAfter after;
    } cases[] = {
        {"erase", EraseCommand, "", true, erased, {false, 1, true}},
        {"erase, never enters", EraseCommand, "no-isp", false, eraseNotEntered, {false, 0, false}},
        // Reads failing: the chip entered, the engine never saw it.
        {"erase, reads fail", EraseCommand, "read-fail", false, eraseNotEntered, {true, 0, false}},
        {"erase, no writes",
         EraseCommand,
         "drop-writes",
         false,
         eraseNotEntered,
         {false, 0, false}},
        // The chip erased, but too slowly: the command fails and stays in ISP mode.
        {"erase too slow",
         EraseCommand,
         "erase-busy=10",
         false,
         {"C", "L Begin...", "L Erase..."},
         {true, 0, true}},
        {"reset", ResetCommand, "", true, reset, {false, 1, false}},
        {"reset, third attempt", ResetCommand, "isp-after=3", true, reset, {false, 1, false}},
        {"reset, never enters", ResetCommand, "no-isp", false, resetNotEntered, {false, 0, false}},
        {"reset, reads fail", ResetCommand, "read-fail", false, resetNotEntered, {true, 0, false}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Reset(c.fault);
        model().Flash(0).assign(65536, 0x00);
        EXPECT_EQ(c.command(), c.ok);
        ExpectTrace(ListEvents(events), c.lines);
        ExpectChip(c.after);
    }
}

TEST_F(ChipBehaviourTest, EnterIspLeavesAnAnsweringChipInIspMode) {
    const struct {
        const char* fault;
        bool inIsp;
    } cases[] = {{"", true}, {"isp-after=500", true}, {"no-isp", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fault);
        Reset(c.fault);
        EXPECT_TRUE(EnterIspCommand());
        EXPECT_EQ(model().InIsp(), c.inIsp);
        EXPECT_EQ(model().SelectedBank(), 0);
        EXPECT_EQ(model().Stats().ispExits, 0);
        EXPECT_TRUE(ListEvents(events).empty());
    }
}

} // namespace
} // namespace rtd::test

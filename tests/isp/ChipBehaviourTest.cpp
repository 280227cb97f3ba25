// The bank sequence and the device commands against the chip model: each failure line
// comes from a real fault of the chip, and the chip is left as the failing step found it.
#include <memory>
#include <string>
#include <vector>

#include "isp/Commands.h"
#include "sim/ChipModel.h"
#include "tests/isp/IspFixture.h"

namespace rtd::test {
namespace {

class ChipBehaviourTest : public IspTest {
protected:
    ChipBehaviourTest() { bus.SetInner(&model()); }

    // A fresh chip with the given faults, and no events yet.
    void Reset(const std::vector<std::string>& faults) {
        chipModel = std::make_unique<sim::ChipModel>();
        bus.SetInner(chipModel.get());
        for (const std::string& fault : faults) {
            std::string error;
            ASSERT_TRUE(model().AddFault(fault, &error)) << fault << ": " << error;
        }
        events.clear();
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
    const struct {
        const char* name;
        std::vector<std::string> faults;
        int length; // of the image's data
        bool ok;
        Events lines;
        bool inIsp;
        int exits;
    } cases[] = {
        {"no fault", {}, 3 * 256, true, {"L Erase...", "L Write..."}, false, 2},
        {"entry on the third attempt",
         {"isp-after=3"},
         3 * 256,
         true,
         {"L Erase...", "L Write..."},
         false,
         2},
        {"never enters", {"no-isp"}, 3 * 256, false, {"L Enter isp error!"}, false, 0},
        {"enters too late", {"isp-after=4"}, 3 * 256, false, {"L Enter isp error!"}, false, 0},
        {"erase just in time",
         {"erase-busy=9"},
         3 * 256,
         true,
         {"L Erase...", "L Write..."},
         false,
         2},
        {"erase too slow",
         {"erase-busy=10"},
         3 * 256,
         false,
         {"L Erase...", "L Erase fail!"},
         true,
         0},
        {"full page too slow",
         {"page-busy=10@1"},
         3 * 256,
         false,
         {"L Erase...", "L Write...", "L Crc Error!"},
         true,
         1},
        {"final page too slow",
         {"page-busy=10@2"},
         2 * 256 + 10,
         false,
         {"L Erase...", "L Write...", "L Write fail!"},
         true,
         1},
        {"page just in time",
         {"page-busy=9"},
         3 * 256,
         true,
         {"L Erase...", "L Write..."},
         false,
         2},
        {"CRC range too slow",
         {"crc-range-busy=21"},
         3 * 256,
         false,
         {"L Erase...", "L Write...", "L Read Crc fail!"},
         true,
         1},
        {"CRC range just in time",
         {"crc-range-busy=20"},
         3 * 256,
         true,
         {"L Erase...", "L Write..."},
         false,
         2},
        {"CRC engine too slow",
         {"crc-busy=101"},
         3 * 256,
         false,
         {"L Erase...", "L Write...", "L Read Crc fail!"},
         true,
         1},
        {"CRC engine just in time",
         {"crc-busy=100"},
         3 * 256,
         true,
         {"L Erase...", "L Write..."},
         false,
         2},
        {"stuck flash byte",
         {"stuck=0:0105"},
         3 * 256,
         false,
         {"L Erase...", "L Write...", "L Crc Error!"},
         true,
         1},
        // The chip entered ISP mode, but the engine never saw the status.
        {"reads fail", {"read-fail"}, 3 * 256, false, {"L Enter isp error!"}, true, 0},
        {"writes dropped", {"drop-writes"}, 3 * 256, false, {"L Enter isp error!"}, false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Reset(c.faults);
        const std::vector<uint8_t> image = Image(c.length);
        EXPECT_EQ(ProgramBank(image.data(), 0, true, true), c.ok);
        ExpectTrace(ListEvents(events), c.lines);
        EXPECT_EQ(model().InIsp(), c.inIsp);
        EXPECT_EQ(model().Stats().ispExits, c.exits);
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
    // What the chip is left with: still in ISP mode, exits seen, flash erased.
    struct ChipAfter {
        bool inIsp;
        int exits;
        bool erased;
    };
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
        Reset(*c.fault ? std::vector<std::string>{c.fault} : std::vector<std::string>{});
        model().Flash(0).assign(65536, 0x00);
        EXPECT_EQ(c.command(), c.ok);
        ExpectTrace(ListEvents(events), c.lines);
        EXPECT_EQ(model().InIsp(), c.after.inIsp);
        EXPECT_EQ(model().Stats().ispExits, c.after.exits);
        EXPECT_EQ(model().Flash(0)[0], c.after.erased ? 0xFF : 0x00);
    }
}

TEST_F(ChipBehaviourTest, EnterIspLeavesAnAnsweringChipInIspMode) {
    const struct {
        std::vector<std::string> faults;
        bool inIsp;
    } cases[] = {{{}, true}, {{"isp-after=500"}, true}, {{"no-isp"}, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.faults.empty() ? "" : c.faults[0]);
        Reset(c.faults);
        EXPECT_TRUE(EnterIspCommand());
        EXPECT_EQ(model().InIsp(), c.inIsp);
        EXPECT_EQ(model().SelectedBank(), 0);
        EXPECT_EQ(model().Stats().ispExits, 0);
        EXPECT_TRUE(ListEvents(events).empty());
    }
}

} // namespace
} // namespace rtd::test

// Wire tests of the ISP operations: every transfer, wait and progress message in order.
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "IspFixture.h"

namespace rtd::test {
namespace {

// Every operation that waits for the chip gives up, and the chip CRC is left untouched.
void ExpectEveryPollFails(TIspUnit& unit) {
    const std::vector<uint8_t> page = CountingImage(256, 2);
    uint8_t crc = 0x77;
    EXPECT_FALSE(unit.EnterIsp());
    EXPECT_FALSE(unit.EraseChip());
    EXPECT_FALSE(unit.ProgramPage(page.data(), 0, 256));
    EXPECT_FALSE(unit.ReadChipCrc(0, 0, 0xFF, crc));
    EXPECT_EQ(crc, 0x77);
}

using ProtocolTest = IspTest;

TEST_F(ProtocolTest, SelectBankSendsBank1OnlyForOne) {
    const struct {
        int bank;
        const char* wire;
    } cases[] = {{0, "W 94 90 40"}, {2, "W 94 90 40"}, {-1, "W 94 90 40"}, {1, "W 94 90 60"}};
    for (const auto& c : cases) {
        events.clear();
        unit->SelectBank(c.bank);
        SCOPED_TRACE(c.bank);
        ExpectTrace(events, {c.wire});
    }
}

TEST_F(ProtocolTest, ExitIspLeavesIspMode) {
    unit->ExitIsp();
    ExpectTrace(events, {"W 94 90 00"});
}

TEST_F(ProtocolTest, EnterIspNeedsExactly0x40WithinThreeAttempts) {
    const struct {
        const char* name;
        std::vector<uint8_t> statuses; // then the chip keeps answering `idle`
        uint8_t idle;
        bool entered;
        Events trace;
    } cases[] = {
        {"at once", {}, 0x40, true, EntryAttempt(0x40)},
        {"second attempt", {0x00}, 0x40, true, EntryAttempt(0x00) + EntryAttempt(0x40)},
        {"third attempt",
         {0x41, 0xC0},
         0x40,
         true,
         EntryAttempt(0x41) + EntryAttempt(0xC0) + EntryAttempt(0x40)},
        {"bank 1 status never counts", {}, 0x60, false, Repeat(EntryAttempt(0x60), 3)},
        {"too late", {0x00, 0x00, 0x00}, 0x40, false, Repeat(EntryAttempt(0x00), 3)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedBus& script = FreshChip();
        script.Queue(0x90, c.statuses);
        script.Idle(0x90, c.idle);
        EXPECT_EQ(unit->EnterIsp(), c.entered);
        ExpectTrace(events, c.trace);
    }
}

// Only bit 7 means busy; the tenth busy read ends the erase without a further wait check.
TEST_F(ProtocolTest, EraseChipPollsTenTimes) {
    const Events start = EraseStarted();
    const struct {
        std::vector<uint8_t> statuses; // then ready
        bool done;
        Events trace;
    } cases[] = {
        {{}, true, EraseSequence(0)},
        {Bytes(9, 0x80), true, EraseSequence(9)},
        {Bytes(10, 0x80), false, start + BusyReads(0x90, 0x80, 10, 10)},
        {{0x7F}, true, start + ReadOf(0x90, 0x7F)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.statuses.size());
        FreshChip().Queue(0x90, c.statuses);
        EXPECT_EQ(unit->EraseChip(), c.done);
        ExpectTrace(events, c.trace);
    }
}

TEST_F(ProtocolTest, ProgramPageSkipsAllFFAndFillsShortPages) {
    std::vector<uint8_t> oneMarked = Bytes(256, 0xFF);
    oneMarked[200] = 0xFE;
    std::vector<uint8_t> tenBytes = CountingImage(10, 1);
    std::vector<uint8_t> tenFilled = tenBytes;
    tenFilled.resize(256, 0xFF);
    // Only the `count` bytes decide the skip, not what lies beyond them.
    std::vector<uint8_t> ffThenData = Bytes(10, 0xFF);
    ffThenData.resize(256, 0x00);
    // A count outside 0..256 is clamped: no byte past the page is read or sent.
    const std::vector<uint8_t> overlong = CountingImage(300, 1);

    const struct {
        const char* name;
        std::vector<uint8_t> data;
        int page;
        int count;
        Events trace;
    } cases[] = {
        {"count 0", Bytes(256, 0x00), 3, 0, {}},
        {"all 0xFF", Bytes(256, 0xFF), 3, 256, {}},
        {"ten 0xFF then data", ffThenData, 3, 10, {}},
        {"one byte not 0xFF", oneMarked, 7, 256, PageSequence(7, oneMarked)},
        {"ten bytes", tenBytes, 0, 10, PageSequence(0, tenFilled)},
        {"page number low 8 bits", oneMarked, 0x1FE, 256, PageSequence(0xFE, oneMarked)},
        {"count above a page", overlong, 1, 300,
         PageSequence(1, std::vector<uint8_t>(overlong.begin(), overlong.begin() + 256))},
        {"negative count", Bytes(256, 0x00), 3, -5, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        events.clear();
        EXPECT_TRUE(unit->ProgramPage(c.data.data(), c.page, c.count));
        ExpectTrace(events, c.trace);
    }
}

TEST_F(ProtocolTest, ProgramPagePollsTenTimesWithAWaitAfterEachBusyRead) {
    const std::vector<uint8_t> page = CountingImage(256, 9);
    const Events head = PageSent(5, page);
    const struct {
        int busyReads;
        bool done;
        Events trace;
    } cases[] = {
        {9, true, head + BusyReads(0x90, 0x50, 9, 1) + ReadOf(0x90, 0x40)},
        {10, false, head + BusyReads(0x90, 0x50, 10, 1)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.busyReads);
        ScriptedBus& script = FreshChip();
        script.Queue(0x90, Bytes(c.busyReads, 0x50));
        EXPECT_EQ(unit->ProgramPage(page.data(), 5, 256), c.done);
        ExpectTrace(events, c.trace);
    }
}

// Whole pages post their share after each page, the rest is one more page with 0xFF after
// it; 100 is posted once the last page was tried, even when it failed, but never after a
// failed whole page. Without a main form nothing is posted.
TEST_F(ProtocolTest, WriteImagePagesAndProgress) {
    const std::vector<uint8_t> image = CountingImage(4 * 256, 3);
    const auto page = [&](int i, int count = 256) {
        std::vector<uint8_t> wire(image.begin() + 256 * i, image.begin() + 256 * i + count);
        wire.resize(256, 0xFF);
        return wire;
    };
    const Events pageFails = BusyReads(0x90, 0x10, 10, 1);
    const struct {
        const char* name;
        int length;
        int bank;
        int readyPages; // -1: every page is ready
        bool withForm;
        bool ok;
        Events trace;
    } cases[] = {
        {"empty", 0, 0, -1, true, true, SelectBank(0) + Events{"P 100"}},
        {"empty bank 1", 0, 1, -1, true, true, SelectBank(1) + Events{"P 100"}},
        {"300 bytes", 300, 0, -1, true, true,
         SelectBank(0) + PageSequence(0, page(0)) + Events{"P 0"} + PageSequence(1, page(1, 44)) +
             Events{"P 100"}},
        {"third whole page fails", 4 * 256, 0, 2, true, false,
         SelectBank(0) + PageSequence(0, page(0)) + Events{"P 0"} + PageSequence(1, page(1)) +
             Events{"P 25"} + PageSent(2, page(2)) + pageFails},
        {"final part page fails", 256 + 10, 0, 1, true, false,
         SelectBank(0) + PageSequence(0, page(0)) + Events{"P 0"} + PageSent(1, page(1, 10)) +
             pageFails + Events{"P 100"}},
        {"without main form", 256, 0, -1, false, true, SelectBank(0) + PageSequence(0, page(0))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedBus& script = FreshChip();
        if (c.readyPages >= 0) {
            script.Queue(0x90, Bytes(c.readyPages, 0x40));
            script.Idle(0x90, 0x10);
        }
        unit->SetMainFrm(c.withForm ? &form : nullptr);
        EXPECT_EQ(unit->WriteImage(image.data(), c.length, c.bank), c.ok);
        ExpectTrace(events, c.trace);
    }
}

TEST_F(ProtocolTest, WriteImageWholeBank) {
    std::vector<uint8_t> image = CountingImage(65536, 0);
    // An all-0xFF page is skipped on the wire but still counts for progress.
    std::fill(image.begin() + 256 * 10, image.begin() + 256 * 11, 0xFF);
    Events expected = SelectBank(1);
    for (int page = 0; page < 256; ++page) {
        if (page != 10)
            expected = std::move(expected) +
                       PageSequence(page, std::vector<uint8_t>(image.begin() + 256 * page,
                                                               image.begin() + 256 * (page + 1)));
        expected.push_back("P " + std::to_string(page * 100 / 256));
    }
    expected.push_back("P 100");

    EXPECT_TRUE(unit->WriteImage(image.data(), 65536, 1));
    ExpectTrace(events, expected);
    const std::vector<int> percent = Percentages(events);
    ASSERT_EQ(percent.size(), 257u);
    EXPECT_EQ(percent[0], 0);
    EXPECT_EQ(percent[255], 99);
    EXPECT_TRUE(std::is_sorted(percent.begin(), percent.end()));
}

TEST(Crc8Test, KnownValues) {
    const std::string digits = "123456789";
    const struct {
        const char* name;
        std::vector<uint8_t> data;
        uint8_t crc;
    } cases[] = {
        {"no bytes", {}, 0x00},
        {"0xFF", {0xFF}, 0xF3},
        {"digits 1-9", std::vector<uint8_t>(digits.begin(), digits.end()), 0xF4},
        {"table start", {0x01}, 0x07},
        {"table entry 7", {0x07}, 0x15},
        {"table end", {0xFE}, 0xF4},
        {"table entry FC", {0xFC}, 0xFA},
        {"zeros", {0x00, 0x00, 0x00}, 0x00},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(TIspUnit::Crc8(c.data.data(), static_cast<int>(c.data.size())), c.crc);
    }
}

TEST(Crc8Test, MatchesBitwiseComputationOverAWholeBank) {
    for (const std::vector<uint8_t>& bank : {Bytes(65536, 0xFF), CountingImage(65536, 17)})
        EXPECT_EQ(TIspUnit::Crc8(bank.data(), 65536), ReferenceCrc8(bank));
}

TEST_F(ProtocolTest, ReadChipCrcSendsRangeAndReadsResult) {
    const struct {
        int bank;
        int start;
        int end;
        Events trace;
    } cases[] = {
        {0, 0, 0x1234, CrcSequence(0, 0, 0x1234, 0x5A)},
        {1, 0x0100, 0xFFFF, CrcSequence(1, 0x0100, 0xFFFF, 0x5A)},
        {0, 0, -1, CrcSequence(0, 0, 0xFFFF, 0x5A)},
        {2, 0x12345, 0x100FF, CrcSequence(0, 0x2345, 0x00FF, 0x5A)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.end);
        ScriptedBus& script = FreshChip();
        script.Idle(0xA3, 0x5A);
        uint8_t crc = 0;
        EXPECT_TRUE(unit->ReadChipCrc(c.bank, c.start, c.end, crc));
        EXPECT_EQ(crc, 0x5A);
        ExpectTrace(events, c.trace);
    }
}

TEST_F(ProtocolTest, ReadChipCrcPollLimits) {
    const Events setup = CrcRangeSent(0, 0, 0xFF);
    const Events start = CrcStarted();
    const struct {
        const char* name;
        int rangeBusyReads;
        int crcBusyReads;
        bool ok;
        Events trace;
    } cases[] = {
        {"range ready on the 21st read", 20, 0, true,
         setup + BusyReads(0x90, 0x48, 20, 10) + ReadOf(0x90, 0x40) + start + ReadOf(0xA2, 0x00) +
             ReadOf(0xA3, 0x66)},
        {"range never ready", 21, 0, false,
         setup + BusyReads(0x90, 0x48, 20, 10) + ReadOf(0x90, 0x48)},
        {"CRC ready on the 101st read", 0, 100, true,
         setup + ReadOf(0x90, 0x40) + start + BusyReads(0xA2, 0x80, 100, 0) + ReadOf(0xA2, 0x00) +
             ReadOf(0xA3, 0x66)},
        {"CRC never ready", 0, 101, false,
         setup + ReadOf(0x90, 0x40) + start + BusyReads(0xA2, 0x80, 101, 0)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedBus& script = FreshChip();
        script.Queue(0x90, Bytes(c.rangeBusyReads, 0x48));
        script.Queue(0xA2, Bytes(c.crcBusyReads, 0x80));
        script.Idle(0xA3, 0x66);
        uint8_t crc = 0x77;
        EXPECT_EQ(unit->ReadChipCrc(0, 0, 0xFF, crc), c.ok);
        EXPECT_EQ(crc, c.ok ? 0x66 : 0x77);
        ExpectTrace(events, c.trace);
    }
}

// A read the bus cannot complete must never pass as ready, whatever the buffer held.
TEST_F(ProtocolTest, FailedReadsCountAsNotReady) {
    chip.FailIdle(0x90);
    chip.FailIdle(0xA2);
    chip.FailIdle(0xA3);
    ExpectEveryPollFails(*unit);
    for (const std::string& e : events) {
        if (e[0] == 'R') {
            EXPECT_EQ(e, "R 95 FF");
        }
    }
    // The limits still hold: 3 entry reads, 10 erase, 10 page, 21 CRC range.
    EXPECT_EQ(std::count_if(events.begin(), events.end(),
                            [](const std::string& e) { return e[0] == 'R'; }),
              3 + 10 + 10 + 21);
}

TEST_F(ProtocolTest, WithoutBusObjectNothingIsSentAndPollsFail) {
    unit->SetIicInterface(nullptr);
    ExpectEveryPollFails(*unit);
    EXPECT_EQ(bus.Calls(), 0);
}

} // namespace
} // namespace rtd::test

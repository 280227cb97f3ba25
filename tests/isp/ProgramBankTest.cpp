// Wire tests of the bank programming sequence: erase cycles, trim, writing, the CRC check
// and the order of its failure lines.
#include <string>
#include <utility>
#include <vector>

#include "Commands.h"
#include "IspFixture.h"

namespace rtd::test {
namespace {

std::vector<uint8_t> Window() {
    return Bytes(65536, 0xFF);
}

std::vector<uint8_t> Filled(std::vector<uint8_t> data) {
    data.resize(256, 0xFF);
    return data;
}

using ProgramBankTest = IspTest;

TEST_F(ProgramBankTest, OneByteAtOffsetZeroWithEraseAndExit) {
    std::vector<uint8_t> image = Window();
    image[0] = 0x12;
    chip.Idle(0xA3, ReferenceCrc8(image.data(), 1));

    EXPECT_TRUE(ProgramBank(image.data(), 0, true, true));
    ExpectTrace(events, DoubleErase() + Events{"L Write..."} + SelectBank(0) +
                            PageSequence(0, Filled({0x12})) + Events{"P 100", "S 20"} +
                            CrcSequence(0, 0, 0, ReferenceCrc8(image.data(), 1)) + Events{"S 50"} +
                            ExitIsp());
}

TEST_F(ProgramBankTest, LastByteOfTheWindowWithoutEraseStaysInIsp) {
    std::vector<uint8_t> image = Window();
    image[0xFFFF] = 0x00;
    const uint8_t crc = ReferenceCrc8(image);
    chip.Idle(0xA3, crc);

    EXPECT_TRUE(ProgramBank(image.data(), 1, false, false));
    // Pages 0-254 are all 0xFF: skipped, but they count for progress.
    Events expected = Events{"L Write..."} + SelectBank(1);
    for (int page = 0; page < 255; ++page)
        expected.push_back("P " + std::to_string(page * 100 / 256));
    std::vector<uint8_t> last = Bytes(255, 0xFF);
    last.push_back(0x00);
    expected = std::move(expected) + PageSequence(255, last) + Events{"P 99", "P 100", "S 20"} +
               CrcSequence(1, 0, 0xFFFF, crc) + Events{"S 50"};
    ExpectTrace(events, expected);
}

TEST_F(ProgramBankTest, InnerFFBytesBelongToTheLengthAndTheCrc) {
    std::vector<uint8_t> image = Window();
    image[0] = 0x00;
    image[301] = 0x01; // bytes 1-300 stay 0xFF
    const uint8_t crc = ReferenceCrc8(image.data(), 302);
    ASSERT_NE(crc, ReferenceCrc8(image.data(), 1));
    chip.Idle(0xA3, crc);

    EXPECT_TRUE(ProgramBank(image.data(), 0, false, true));
    std::vector<uint8_t> second = Bytes(45, 0xFF);
    second.push_back(0x01);
    ExpectTrace(events, Events{"L Write..."} + SelectBank(0) + PageSequence(0, Filled({0x00})) +
                            Events{"P 0"} + PageSequence(1, Filled(second)) +
                            Events{"P 100", "S 20"} + CrcSequence(0, 0, 301, crc) + Events{"S 50"} +
                            ExitIsp());
}

// An empty window asks the chip for 0x0000-0xFFFF: an erased bank must verify, one that
// reports the CRC of zero bytes must not.
TEST_F(ProgramBankTest, EmptyWindowIsVerifiedOverTheWholeBank) {
    const std::vector<uint8_t> image = Window();
    const uint8_t erased = ReferenceCrc8(image);
    ASSERT_NE(erased, 0x00);
    const struct {
        uint8_t chipCrc;
        bool ok;
        Events tail;
    } cases[] = {
        {erased, true, Events{"S 50"} + ExitIsp()},
        {0x00, false, {"L Crc Error!"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ok);
        events.clear();
        chip.Idle(0xA3, c.chipCrc);
        EXPECT_EQ(ProgramBank(image.data(), 0, false, true), c.ok);
        ExpectTrace(events, Events{"L Write..."} + SelectBank(0) + Events{"P 100", "S 20"} +
                                CrcSequence(0, 0, 0xFFFF, c.chipCrc) + c.tail);
    }
}

TEST_F(ProgramBankTest, EntryAndEraseFailuresStopAtOnce) {
    std::vector<uint8_t> image = Window();
    image[0] = 0x12;
    const Events eraseTimesOut = EraseStarted() + BusyReads(0x90, 0xC0, 10, 10);
    const struct {
        const char* name;
        std::vector<uint8_t> statuses;
        uint8_t idle;
        Events trace;
    } cases[] = {
        {"never enters", {}, 0x00, Repeat(EntryAttempt(0x00), 3) + Events{"L Enter isp error!"}},
        {"first erase never ends",
         {0x40},
         0xC0,
         EntryAttempt(0x40) + Events{"S 50", "L Erase..."} + eraseTimesOut +
             Events{"L Erase fail!"}},
        {"second entry fails",
         {0x40, 0x00},
         0x00,
         EntryAttempt(0x40) + Events{"S 50", "L Erase..."} + EraseStarted() + ReadOf(0x90, 0x00) +
             Events{"S 100"} + ExitIsp() + Events{"S 100"} + Repeat(EntryAttempt(0x00), 3) +
             Events{"L Enter isp error!"}},
        {"second erase never ends",
         {0x40, 0x40, 0x40},
         0xC0,
         EntryAttempt(0x40) + Events{"S 50", "L Erase..."} + EraseStarted() + ReadOf(0x90, 0x40) +
             Events{"S 100"} + ExitIsp() + Events{"S 100"} + EntryAttempt(0x40) + Events{"S 50"} +
             eraseTimesOut + Events{"L Erase fail!"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedBus& script = FreshChip();
        script.Queue(0x90, c.statuses);
        script.Idle(0x90, c.idle);
        EXPECT_FALSE(ProgramBank(image.data(), 0, true, true));
        ExpectTrace(events, c.trace);
    }
}

// After writing: a failed CRC read first, then a mismatch, then a failed page writing.
// A result read that fails must not pass for a match.
TEST_F(ProgramBankTest, VerificationFailuresInTheirOrder) {
    std::vector<uint8_t> image = Window();
    image[0] = 0x12;
    const uint8_t good = ReferenceCrc8(image.data(), 1);
    const uint8_t bad = static_cast<uint8_t>(good ^ 1);
    const uint8_t unread =
        static_cast<uint8_t>(~good); // what ProgramBank asks a failed read to keep
    const Events page = PageSent(0, Filled({0x12}));
    const Events crcHead = CrcRangeSent(0, 0, 0);
    const Events crcStart = CrcStarted();
    const Events pageFails = page + BusyReads(0x90, 0x10, 10, 1);
    const struct {
        const char* name;
        uint8_t status; // what 0x90 reads throughout
        int chipCrc;    // what 0xA3 reads; -1: the read fails
        Events afterWrite;
    } cases[] = {
        {"range never ready", 0x08, good,
         page + ReadOf(0x90, 0x08) + Events{"P 100", "S 20"} + crcHead +
             BusyReads(0x90, 0x08, 20, 10) + ReadOf(0x90, 0x08) + Events{"L Read Crc fail!"}},
        {"CRC differs", 0x40, bad,
         page + ReadOf(0x90, 0x40) + Events{"P 100", "S 20"} + CrcSequence(0, 0, 0, bad) +
             Events{"L Crc Error!"}},
        {"result read fails", 0x40, -1,
         page + ReadOf(0x90, 0x40) + Events{"P 100", "S 20"} + crcHead + ReadOf(0x90, 0x40) +
             crcStart + ReadOf(0xA2, 0x00) + ReadOf(0xA3, unread) + Events{"L Crc Error!"}},
        {"page failed, CRC differs", 0x10, bad,
         pageFails + Events{"P 100", "S 20"} + crcHead + ReadOf(0x90, 0x10) + crcStart +
             ReadOf(0xA2, 0x00) + ReadOf(0xA3, bad) + Events{"L Crc Error!"}},
        {"page failed, CRC agrees", 0x10, good,
         pageFails + Events{"P 100", "S 20"} + crcHead + ReadOf(0x90, 0x10) + crcStart +
             ReadOf(0xA2, 0x00) + ReadOf(0xA3, good) + Events{"S 50", "L Write fail!"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedBus& script = FreshChip();
        script.Idle(0x90, c.status);
        if (c.chipCrc >= 0)
            script.Idle(0xA3, static_cast<uint8_t>(c.chipCrc));
        else
            script.FailIdle(0xA3);
        EXPECT_FALSE(ProgramBank(image.data(), 0, false, true));
        ExpectTrace(events, Events{"L Write..."} + SelectBank(0) + c.afterWrite);
    }
}

TEST_F(ProgramBankTest, WithoutMessageListTheResultsStay) {
    unit->SetInfoList(nullptr);
    std::vector<uint8_t> image = Window();
    image[0] = 0x12;
    chip.Idle(0xA3, ReferenceCrc8(image.data(), 1));
    EXPECT_TRUE(ProgramBank(image.data(), 0, false, true));
    chip.Idle(0xA3, 0x00);
    EXPECT_FALSE(ProgramBank(image.data(), 0, false, true));
    EXPECT_TRUE(ListEvents(events).empty());
}

} // namespace
} // namespace rtd::test

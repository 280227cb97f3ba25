// Wire tests of the Erase, Reset and "Enter isp" commands.
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "Commands.h"
#include "IspFixture.h"

namespace rtd::test {
namespace {

using CommandsTest = IspTest;

TEST_F(CommandsTest, EraseAndReset) {
    const Events neverEnters = Repeat(EntryAttempt(0x00), 3);
    const struct {
        const char* name;
        bool (*command)();
        std::vector<uint8_t> statuses;
        uint8_t idle;
        bool ok;
        Events trace;
    } cases[] = {
        {"erase",
         EraseCommand,
         {},
         0x40,
         true,
         Events{"C", "L Begin..."} + EntryAttempt(0x40) + Events{"S 50", "L Erase..."} +
             EraseSequence(0) + Events{"S 100", "L Reset..."} + ExitIsp()},
        {"erase, never enters",
         EraseCommand,
         {},
         0x00,
         false,
         Events{"C", "L Begin..."} + neverEnters + Events{"L Enter Isp fail."}},
        // The erase failing leaves "Erase..." last and the chip in ISP mode (no 90 00).
        {"erase never ends",
         EraseCommand,
         {0x40},
         0x80,
         false,
         Events{"C", "L Begin..."} + EntryAttempt(0x40) + Events{"S 50", "L Erase..."} +
             EraseStarted() + BusyReads(0x90, 0x80, 10, 10)},
        {"reset",
         ResetCommand,
         {},
         0x40,
         true,
         Events{"C", "L Begin..."} + EntryAttempt(0x40) + Events{"L Reset..."} + ExitIsp()},
        {"reset, entry on the third attempt",
         ResetCommand,
         {0x60, 0x60},
         0x40,
         true,
         Events{"C", "L Begin..."} + EntryAttempt(0x60) + EntryAttempt(0x60) + EntryAttempt(0x40) +
             Events{"L Reset..."} + ExitIsp()},
        {"reset, never enters",
         ResetCommand,
         {},
         0x00,
         false,
         Events{"C", "L Begin..."} + neverEnters + Events{"L Enter isp error."}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedBus& script = FreshChip();
        script.Queue(0x90, c.statuses);
        script.Idle(0x90, c.idle);
        EXPECT_EQ(c.command(), c.ok);
        ExpectTrace(events, c.trace);
    }
}

TEST_F(CommandsTest, EraseAndResetWithoutMessageList) {
    unit->SetInfoList(nullptr);
    EXPECT_TRUE(EraseCommand());
    EXPECT_TRUE(ResetCommand());
    chip.Idle(0x90, 0x00);
    EXPECT_FALSE(EraseCommand());
    EXPECT_FALSE(ResetCommand());
    EXPECT_TRUE(ListEvents(events).empty());
}

// Entry attempts sent (36 00 writes).
int EntryAttempts(const Events& events) {
    return static_cast<int>(std::count(events.begin(), events.end(), std::string("W 94 36 00")));
}

TEST_F(CommandsTest, EnterIspRunsElevenSecondsWhenTheChipAnswers) {
    EXPECT_TRUE(EnterIspCommand());
    EXPECT_EQ(platform.NowMs(), 11000u);

    // One pass per millisecond: 999 passes in the first second (the first wait ends at
    // 1 ms), then 1000 in each of the next ten; the eleven-thousandth pass ends the loop.
    Events expected;
    for (int ms = 1; ms <= 11000; ++ms) {
        expected = std::move(expected) + EntryAttempt(0x40);
        if (ms < 11000)
            expected.push_back("P " + std::to_string(ms / 1000 * 10));
    }
    ExpectTrace(events, expected);
    const std::vector<int> percent = Percentages(events);
    EXPECT_EQ(std::count(percent.begin(), percent.end(), 0), 999);
    EXPECT_EQ(std::count(percent.begin(), percent.end(), 100), 1000);
    EXPECT_TRUE(ListEvents(events).empty());
    EXPECT_EQ(std::count(events.begin(), events.end(), ExitIsp()[0]), 0);
}

TEST_F(CommandsTest, EnterIspKeepsTryingAChipThatNeverAnswers) {
    chip.Idle(0x90, 0x00);
    EXPECT_TRUE(EnterIspCommand());
    // Each pass is three failed attempts, 6 ms: the first pass at or past 11 s ends it.
    EXPECT_EQ(platform.NowMs(), 11004u);
    EXPECT_EQ(EntryAttempts(events), 3 * 1834);
    const std::vector<int> percent = Percentages(events);
    ASSERT_EQ(percent.size(), 1833u);
    EXPECT_EQ(percent.front(), 0);
    EXPECT_EQ(percent.back(), 100);
    EXPECT_TRUE(std::is_sorted(percent.begin(), percent.end()));
    EXPECT_TRUE(ListEvents(events).empty());
}

TEST_F(CommandsTest, EnterIspTestsTheTimeBeforeEachPost) {
    // A host whose message processing takes 2.5 s each time.
    platform.SetOnProgress([this](int) { platform.Advance(2500); });
    EXPECT_TRUE(EnterIspCommand());
    EXPECT_EQ(Percentages(events), (std::vector<int>{0, 20, 50, 70, 100}));
    EXPECT_EQ(EntryAttempts(events), 6);
}

// Only the monotonic clock counts: starting late in a day or without a main form changes
// nothing.
TEST_F(CommandsTest, EnterIspTimingIsIndependentOfTheClockOrigin) {
    const struct {
        uint64_t origin;
        bool withForm;
    } cases[] = {{0, true}, {86'399'500, true}, {1'000'000'000'000ull, false}};
    // Each row starts where the previous one ended, moved on by its origin.
    for (const auto& c : cases) {
        SCOPED_TRACE(c.origin);
        events.clear();
        unit->SetMainFrm(c.withForm ? &form : nullptr);
        platform.Advance(c.origin);
        const uint64_t start = platform.NowMs();
        EXPECT_TRUE(EnterIspCommand());
        EXPECT_EQ(platform.NowMs() - start, 11000u);
        EXPECT_EQ(EntryAttempts(events), 11000);
        EXPECT_EQ(Percentages(events).size(), c.withForm ? 10999u : 0u);
    }
}

} // namespace
} // namespace rtd::test

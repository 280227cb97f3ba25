// Linux: a command holds its thread's timer slack at the minimum, so that the 1 ms waits
// are not stretched, and gives the slack it found back at the end, nested or not.
#include <gtest/gtest.h>

#include <sys/prctl.h>

#include "Platform.h"

namespace rtd {
namespace {

long Slack() {
    return prctl(PR_GET_TIMERSLACK, 0, 0, 0, 0);
}

TEST(NativeCommand, HoldsTheMinimumTimerSlackAndRestoresIt) {
    constexpr long kOwn = 123456; // not the default, so that a reset to it shows
    ASSERT_EQ(prctl(PR_SET_TIMERSLACK, static_cast<unsigned long>(kOwn), 0, 0, 0), 0);
    Platform& platform = CurrentPlatform();
    const struct {
        void (Platform::*step)();
        long slack;
    } steps[] = {
        {&Platform::BeginCommand, 1},  {&Platform::BeginCommand, 1},  {&Platform::EndCommand, 1},
        {&Platform::EndCommand, kOwn}, {&Platform::EndCommand, kOwn}, // unmatched: ignored
        {&Platform::BeginCommand, 1},  {&Platform::EndCommand, kOwn},
    };
    int at = 0;
    for (const auto& s : steps) {
        (platform.*s.step)();
        EXPECT_EQ(Slack(), s.slack) << "after step " << at++;
    }
    prctl(PR_SET_TIMERSLACK, 0UL, 0, 0, 0);
}

} // namespace
} // namespace rtd

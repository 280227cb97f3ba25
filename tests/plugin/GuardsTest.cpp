// The checks the exports make before a command reaches the engine: a missing bus object,
// a missing engine object, a command started from inside another, and an exception.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <stdexcept>
#include <string>

#include "isp/Ispunit.h"
#include "plugin/Lifetime.h"
#include "rtd2120/rtd2120.h"
#include "tests/plugin/PluginFixture.h"

namespace rtd::test {
namespace {

struct Command {
    const char* name;
    std::function<bool()> run;
};

// Every command export; the dialogs report true once they return.
std::vector<Command> AllCommands() {
    return {
        {"Write", [] { return Write(nullptr); }}, {"Erase", [] { return Erase(); }},
        {"Reset", [] { return Reset(); }},        {"ExtFunc", [] { return ExtFunc(nullptr); }},
        {"About", [] { return About(), true; }},  {"Setup", [] { return Setup(), true; }},
    };
}

using Guards = PluginFixture;

TEST_F(Guards, BusCommandsWithoutBusObjectLogAndRefuse) {
    const struct {
        const char* name;
        std::function<bool()> run;
        Events expected;
    } cases[] = {
        {"Write", [] { return Write(nullptr); }, {"C", "L No I2C interface."}},
        {"Erase", [] { return Erase(); }, {"C", "L No I2C interface."}},
        {"Reset", [] { return Reset(); }, {"C", "L No I2C interface."}},
        {"ExtFunc", [] { return ExtFunc(nullptr); }, {"L No I2C interface."}},
    };
    SetInfoList(&list);
    SetMainFrm(&form);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        events.clear();
        EXPECT_FALSE(c.run());
        EXPECT_EQ(events, c.expected); // no wait, no progress, no other line
        EXPECT_EQ(platform.CommandDepth(), 0);
    }
}

TEST_F(Guards, CommandsWithoutEngineObjectRefuseQuietly) {
    HandOverAll();
    PluginDetach();
    for (const Command& c : AllCommands()) {
        SCOPED_TRACE(c.name);
        const bool dialog = std::string(c.name) == "About" || std::string(c.name) == "Setup";
        EXPECT_EQ(c.run(), dialog);
    }
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(bus.Calls(), 0);
}

TEST_F(Guards, CommandStartedDuringProgressIsRefused) {
    HandOverAll();
    bool nestedRan = false;
    platform.SetOnProgress([&](int) {
        if (nestedRan)
            return;
        nestedRan = true;
        EXPECT_EQ(platform.CommandDepth(), 1); // the timer period is held
        const size_t eventsBefore = events.size();
        const int callsBefore = bus.Calls();
        for (const Command& c : AllCommands()) {
            SCOPED_TRACE(c.name);
            const bool dialog = std::string(c.name) == "About" || std::string(c.name) == "Setup";
            EXPECT_EQ(c.run(), dialog);
        }
        EXPECT_EQ(events.size(), eventsBefore);
        EXPECT_EQ(bus.Calls(), callsBefore);
        EXPECT_EQ(platform.CommandDepth(), 1);
    });

    EXPECT_TRUE(ExtFunc(nullptr)); // the running command is not disturbed
    EXPECT_TRUE(nestedRan);
    EXPECT_NE(std::find(events.begin(), events.end(), "P 100"), events.end());
    EXPECT_EQ(platform.CommandDepth(), 0);

    // Once it has returned, commands run again.
    platform.SetOnProgress(nullptr);
    events.clear();
    EXPECT_FALSE(Reset()); // the bus answers nothing: entry fails
    EXPECT_EQ(events.back(), "L Enter isp error.");
    EXPECT_GT(bus.Calls(), 0);
}

// A bus object whose writes throw, as a host's might on a lost adapter.
class ThrowingBus : public TIicInterface {
public:
    virtual ~ThrowingBus() = default;
    bool IicWrite(uint8_t, int, const uint8_t*) override { throw std::runtime_error("gone"); }
    bool IicRead(uint8_t, int, uint8_t*) override { return false; }
};

TEST_F(Guards, ExceptionEndsTheCommandWithFalse) {
    ThrowingBus throwing;
    HandOverAll();
    SetIICInterFace(&throwing);
    for (const Command& c : AllCommands()) {
        if (std::string(c.name) == "About" || std::string(c.name) == "Setup")
            continue;
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(c.run());
        EXPECT_EQ(platform.CommandDepth(), 0);
    }
    // The refused state does not stick.
    SetIICInterFace(&bus);
    events.clear();
    EXPECT_FALSE(Erase());
    EXPECT_EQ(events.back(), "L Enter Isp fail.");
}

} // namespace
} // namespace rtd::test

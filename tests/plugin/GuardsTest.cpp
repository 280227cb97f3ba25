// The checks the exports make before a command reaches the engine: a missing bus object,
// a missing engine object and an exception. A command started from inside another is
// refused too; that is tested with the chip model, beside Write.
#include <gtest/gtest.h>

#include <stdexcept>

#include "CommandExports.h"
#include "Lifetime.h"
#include "PluginFixture.h"
#include "rtd2120/rtd2120.h"

namespace rtd::test {
namespace {

using Guards = PluginFixture;

TEST_F(Guards, BusCommandsWithoutBusObjectLogAndRefuse) {
    SetInfoList(&list);
    SetMainFrm(&form);
    for (const CommandExport& c : AllCommands()) {
        if (c.dialog)
            continue;
        SCOPED_TRACE(c.name);
        events.clear();
        EXPECT_FALSE(c.run());
        // ExtFunc leaves the list as it is; no wait, no progress, no other line.
        const bool clears = c.name != std::string("ExtFunc");
        const Events expected =
            clears ? Events{"C", "L No I2C interface."} : Events{"L No I2C interface."};
        EXPECT_EQ(events, expected);
        EXPECT_EQ(platform.CommandDepth(), 0);
    }
}

TEST_F(Guards, CommandsWithoutEngineObjectRefuseQuietly) {
    HandOverAll();
    PluginDetach();
    for (const CommandExport& c : AllCommands()) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.run(), c.dialog);
    }
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(bus.Calls(), 0);
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
    for (const CommandExport& c : AllCommands()) {
        if (c.dialog)
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

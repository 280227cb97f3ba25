// Load and unload create and free the engine object, reading and writing the setting;
// every other reason code changes nothing.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "Ispunit.h"
#include "Lifetime.h"
#include "PluginFixture.h"

namespace rtd::test {
namespace {

// Starts from an unloaded plug-in with no settings file.
class Lifetime : public PluginFixture {
protected:
    Lifetime() {
        PluginDetach();
        std::filesystem::remove(SettingsFile());
    }

    std::string SavedFlag() {
        return platform.ReadIniString(SettingsFile(), "RTD2120CFG", "AUTOFIRESECOND", "missing");
    }
};

TEST_F(Lifetime, AttachReadsAndDetachWritesTheSetting) {
    const struct {
        const char* stored; // null: no settings file
        bool loaded;
    } cases[] = {{nullptr, false}, {"1", true}, {"0", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored ? c.stored : "no file");
        std::filesystem::remove(SettingsFile());
        if (c.stored) {
            ASSERT_TRUE(
                platform.WriteIniString(SettingsFile(), "RTD2120CFG", "AUTOFIRESECOND", c.stored));
        }
        EXPECT_EQ(PluginEntry(kProcessAttach), 1);
        ASSERT_NE(IspUnit, nullptr);
        EXPECT_EQ(IspUnit->AutoFireSecond, c.loaded);
        EXPECT_EQ(IspUnit->MainFrm, nullptr);
        EXPECT_EQ(IspUnit->InfoList, nullptr);
        EXPECT_EQ(IspUnit->IicInterface, nullptr);

        IspUnit->AutoFireSecond = !c.loaded;
        EXPECT_EQ(PluginEntry(kProcessDetach), 1);
        EXPECT_EQ(IspUnit, nullptr);
        EXPECT_EQ(SavedFlag(), c.loaded ? "0" : "1");
    }
}

TEST_F(Lifetime, OtherReasonsChangeNothing) {
    PluginAttach();
    TIspUnit* unit = IspUnit;
    unit->AutoFireSecond = true;
    for (unsigned long reason : {2ul, 3ul, 4ul, 0xFFFFFFFFul}) {
        SCOPED_TRACE(reason);
        EXPECT_EQ(PluginEntry(reason), 1);
        EXPECT_EQ(IspUnit, unit);
    }
    EXPECT_EQ(SavedFlag(), "missing"); // nothing saved before the detach
    PluginDetach();
    EXPECT_EQ(SavedFlag(), "1");
}

TEST_F(Lifetime, RepeatedAttachAndDetachAreHarmless) {
    PluginAttach();
    TIspUnit* unit = IspUnit;
    PluginAttach();
    EXPECT_EQ(IspUnit, unit); // the first object is kept, not leaked
    PluginDetach();
    PluginDetach();
    EXPECT_EQ(IspUnit, nullptr);
    EXPECT_EQ(PluginEntry(kProcessDetach), 1);
}

TEST_F(Lifetime, UnwritableSettingsDoNotStopTheUnload) {
    // A folder where the settings file should be: the write fails.
    std::filesystem::create_directories(SettingsFile());
    PluginAttach();
    ASSERT_NE(IspUnit, nullptr);
    PluginDetach();
    EXPECT_EQ(IspUnit, nullptr);
}

} // namespace
} // namespace rtd::test

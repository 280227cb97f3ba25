// The built isphost as a user runs it: found beside its plug-in or in an installed tree,
// exit statuses, and the plug-in's setting file written beside the executable.
#include <gtest/gtest.h>

#include <filesystem>

#include "HostRun.h"

namespace rtd::host::test {
namespace {

namespace fs = std::filesystem;

// A private copy of isphost and the plug-in, so that the setting file is this test's own.
class ExecutableCopy : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = TempPath("isphost-copy") + static_cast<char>(fs::path::preferred_separator);
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        const fs::path exe(ExecutablePath()), plugin(PluginPath());
        exe_ = (fs::path(dir_) / exe.filename()).string();
        fs::copy_file(exe, exe_);
        fs::copy_file(plugin, fs::path(dir_) / plugin.filename());
    }
    HostResult Run(const std::string& args) { return RunExecutable(exe_, args, dir_); }
    std::string Settings() { return ReadFileText(dir_ + "Torvan.ini"); }

    std::string dir_, exe_;
};

TEST_F(ExecutableCopy, ExitStatusesOfTheRealBinary) {
    const struct {
        const char* args;
        int status;
    } cases[] = {
        {"--quiet reset", 0},
        {"--quiet --sim-fault no-isp reset", 1},
        {"--quiet --sim-fault no-isp erase", 1},
        {"", 2},
        {"write", 2},
        {"--bus nowhere reset", 2},
        {"--bus ch341:0 reset", 2}, // no adapter here; on Windows not even CH341DLL.DLL
        {"--bus ftdi reset", 2},    // nor an FTDI chip, nor ftd2xx.dll
        {"buses", 0},
        {"--version", 0},
    };
    for (const auto& c : cases) {
        const HostResult r = Run(c.args);
        EXPECT_EQ(r.status, c.status) << c.args << "\n" << r.out << r.err;
    }
    EXPECT_EQ(SplitLines(Run("--quiet reset").out), std::vector<std::string>{"reset: OK"});
}

TEST_F(ExecutableCopy, ThePlugInKeepsItsSettingBesideTheExecutable) {
    EXPECT_FALSE(fs::exists(dir_ + "Torvan.ini"));
    ASSERT_EQ(Run("info").status, 0);
    EXPECT_NE(Settings().find("[RTD2120CFG]"), std::string::npos) << Settings();
    EXPECT_NE(Settings().find("AUTOFIRESECOND=0"), std::string::npos) << Settings();

    // Switched on, the setting survives the plug-in's own load and save, and a HEX write
    // then also programs bank 1 from the extend file beside it.
    fs::copy_file(ExamplePath("app.hex"), dir_ + "app.hex");
    fs::copy_file(ExamplePath("app_Extend.hex"), dir_ + "app_Extend.hex");
    const HostResult r =
        Run("--auto-fire-second on --trace " + dir_ + "t.trace write " + dir_ + "app.hex");
    EXPECT_EQ(r.status, 0) << r.out << r.err;
    EXPECT_NE(Settings().find("AUTOFIRESECOND=1"), std::string::npos) << Settings();
    EXPECT_EQ(MessageLines(dir_ + "t.trace"),
              (std::vector<std::string>{"Begin...", "Erase...", "Write...", "Write..."}));
}

// Installed, the plug-in is in the library folder, found relative to isphost's own folder
// without --plugin: a package unpacked under any root works as it does under /.
TEST(InstalledTree, FindsThePlugInInTheLibraryFolder) {
    const fs::path root = TempPath("isphost-installed"), bin = root / "bin";
    const fs::path lib = (bin / RTD_TEST_PLUGIN_FROM_BIN).lexically_normal();
    fs::remove_all(root);
    fs::create_directories(bin);
    fs::create_directories(lib);
    const fs::path exe(ExecutablePath()), plugin(PluginPath());
    fs::copy_file(exe, bin / exe.filename());
    fs::copy_file(plugin, lib / plugin.filename());
    const HostResult r =
        RunExecutable((bin / exe.filename()).string(), "info", root.string() + "/");
    EXPECT_EQ(r.status, 0) << r.out << r.err;
    EXPECT_EQ(SplitLines(r.out).at(0), "MCU:                RTD2120") << r.out << r.err;
}

} // namespace
} // namespace rtd::host::test

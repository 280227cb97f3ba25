// Loads the built library the way a host does, looks up all 15 exports by name and
// calls them through the real calling convention; unloading writes the setting.
#include <gtest/gtest.h>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "Platform.h"
#include "Recorders.h"
#include "rtd2120/rtd2120.h"

namespace rtd::test {
namespace {

const char* const kExportNames[] = {
    "KXMcuName",      "SetIICInterFace", "SetMainFrm",  "SupportReset", "SupportErase",
    "SupportExtFunc", "About",           "Setup",       "ExtFunc",      "Write",
    "Erase",          "Reset",           "ExtFuncName", "SetInfoList",  "SetIspFileExt",
};

class Library {
public:
#if defined(_WIN32)
    // The build copies the DLL beside this test; the loader finds it there first.
    Library() : handle_(LoadLibraryA("RTD2120.dll")) {}
    ~Library() {
        Unload();
    }
    void Unload() {
        if (handle_)
            FreeLibrary(handle_);
        handle_ = nullptr;
    }
    void* Find(const char* name) {
        return reinterpret_cast<void*>(GetProcAddress(handle_, name));
    }

private:
    HMODULE handle_;
#else
    Library() : handle_(dlopen(RTD_PLUGIN_PATH, RTLD_NOW | RTLD_LOCAL)) {}
    ~Library() {
        Unload();
    }
    void Unload() {
        if (handle_)
            dlclose(handle_);
        handle_ = nullptr;
    }
    void* Find(const char* name) {
        return dlsym(handle_, name);
    }

private:
    void* handle_;
#endif
public:
    // Forgets the library without unloading it, as a host that exits without unloading.
    void Abandon() {
        handle_ = nullptr;
    }
    bool Loaded() const {
        return handle_ != nullptr;
    }
    template <typename Fn> Fn Get(const char* name) {
        return reinterpret_cast<Fn>(Find(name));
    }
};

// The settings file the library reads and writes: beside this test executable.
std::string SettingsFile() {
    std::string path = CurrentPlatform().ExecutablePath();
    return path.substr(0, path.find_last_of("/\\:") + 1) + "Torvan.ini";
}

std::string ReadWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(Loader, AllExportsFoundByName) {
    Library library;
    ASSERT_TRUE(library.Loaded());
    for (const char* name : kExportNames)
        EXPECT_NE(library.Find(name), nullptr) << name;
    // Decorated and internal names stay private.
    for (const char* name : {"KXMcuName@4", "_KXMcuName@4", "PluginAttach", "IspUnit"})
        EXPECT_EQ(library.Find(name), nullptr) << name;
}

TEST(Loader, QueriesAnswerThroughTheExports) {
    Library library;
    ASSERT_TRUE(library.Loaded());
    const struct {
        const char* name;
        std::string expected;
    } queries[] = {
        {"KXMcuName", std::string("RTD2120\0", 8)},
        {"ExtFuncName", std::string("Enter isp\0", 10)},
        {"SetIspFileExt", std::string("(*.hex;*.bin)|*.hex;*.bin;*.kvf\0", 32)},
    };
    for (const auto& q : queries) {
        SCOPED_TRACE(q.name);
        auto query = library.Get<KXMcuNameFn>(q.name);
        ASSERT_NE(query, nullptr);
        char buffer[40];
        std::memset(buffer, 0x5A, sizeof buffer);
        EXPECT_EQ(query(buffer), buffer);
        EXPECT_EQ(std::string(buffer, q.expected.size()), q.expected);
        EXPECT_EQ(buffer[q.expected.size()], 0x5A);
    }
    for (const char* name : {"SupportReset", "SupportErase", "SupportExtFunc"}) {
        auto support = library.Get<SupportFn>(name);
        ASSERT_NE(support, nullptr) << name;
        EXPECT_TRUE(support()) << name;
    }
}

TEST(Loader, CommandReachesTheHostListAcrossTheBoundary) {
    Library library;
    ASSERT_TRUE(library.Loaded());
    Events events;
    RecordingStrings list{&events};
    auto setInfoList = library.Get<SetInfoListFn>("SetInfoList");
    auto erase = library.Get<CommandFn>("Erase");
    auto write = library.Get<StringCommandFn>("Write");
    ASSERT_TRUE(setInfoList && erase && write);
    EXPECT_EQ(setInfoList(&list), &list);
    EXPECT_FALSE(erase()); // no bus object handed over
    AnsiStringPtr path = AnsiStringNew("missing.bin");
    EXPECT_FALSE(write(path));
    AnsiStringRelease(path);
    EXPECT_EQ(events, (Events{"C", "L No I2C interface.", "C", "L No I2C interface."}));
    setInfoList(nullptr);
}

TEST(Loader, LoadReadsAndUnloadWritesTheSetting) {
    for (const char* stored : {"1", "0"}) {
        SCOPED_TRACE(stored);
        ASSERT_TRUE(CurrentPlatform().WriteIniString(SettingsFile(), "RTD2120CFG", "AUTOFIRESECOND",
                                                     stored));
        CurrentPlatform().FlushIni(SettingsFile());
        {
            Library library;
            ASSERT_TRUE(library.Loaded());
            // Replace the file while loaded: the unload writes back what the load read.
            std::remove(SettingsFile().c_str());
        }
        const std::string text = ReadWhole(SettingsFile());
        EXPECT_NE(text.find("AUTOFIRESECOND=" + std::string(stored)), std::string::npos) << text;
    }
    std::remove(SettingsFile().c_str());
}

#if !defined(_WIN32)
// A host that exits with the library still loaded: the setting is saved during the exit,
// while the library's own static objects still exist, and the exit stays clean.
TEST(LoaderDeathTest, ExitWithoutUnloadSavesTheSetting) {
    ASSERT_TRUE(
        CurrentPlatform().WriteIniString(SettingsFile(), "RTD2120CFG", "AUTOFIRESECOND", "1"));
    EXPECT_EXIT(
        {
            Library library;
            if (!library.Loaded())
                std::_Exit(3);
            std::remove(SettingsFile().c_str());
            library.Abandon();
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_NE(ReadWhole(SettingsFile()).find("AUTOFIRESECOND=1"), std::string::npos);
    std::remove(SettingsFile().c_str());
}
#endif

} // namespace
} // namespace rtd::test

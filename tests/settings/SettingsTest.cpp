// The settings file: where it lives, how the flag is read and written.
#include <gtest/gtest.h>

#include "IniNumber.h"
#include "Quonunit.h"
#include "RecordingHost.h"
#include "RecordingPlatform.h"

namespace {

struct IntegerCase {
    const char* text;
    int32_t expected; // with fallback 0
};

TEST(IniTextToInteger, ConvertsTheWaysTheIniValuesAreWritten) {
    const IntegerCase cases[] = {
        {"1", 1},
        {"2", 2},
        {"-1", -1},
        {"+7", 7},
        {"0x10", 16},
        {"0X1f", 31},
        {"$ff", 255},
        {"x10", 16},
        {"X10", 16},
        {"-$10", -16},
        {"   12", 12},
        {"0", 0},
        {"0x0", 0},
        {"abc", 0},
        {"1a", 0},
        {"", 0},
        {"0x", 0},
        {"$", 0},
        {"-", 0},
        {"12 ", 0},
        {" -0x10", 0},
        {"\t1", 0},
        {"1.5", 0},
        {"2147483647", 2147483647},
        {"-2147483648", INT32_MIN},
        {"2147483648", 0},
        {"-2147483649", 0},
        {"99999999999999999999", 0},
        {"$FFFFFFFF", -1},
        {"$100000000", 0},
        {"0x80000000", INT32_MIN},
        {"00000000000000000000001", 1},
    };
    for (const IntegerCase& c : cases)
        EXPECT_EQ(rtd::IniTextToInteger(c.text, 0), c.expected) << '"' << c.text << '"';
}

TEST(IniTextToInteger, TextThatIsNoNumberGivesTheFallback) {
    for (const char* text : {"", "abc", "1a", "0x", "99999999999"})
        EXPECT_EQ(rtd::IniTextToInteger(text, -5), -5) << '"' << text << '"';
}

// Each case runs with the executable placed in a fresh temporary folder.
using SettingsTest = rtd::test::RecordingHost;

TEST_F(SettingsTest, FileLivesBesideTheExecutable) {
    EXPECT_EQ(SettingsFilePath(), folder.Path("Torvan.ini"));
    TIniFile* ini = OpenIniFile();
    EXPECT_EQ(ini->FileName(), folder.Path("Torvan.ini"));
    delete ini;
}

TEST(SettingsPath, CutsAfterTheLastFolderSeparator) {
    struct Case {
        const char* exe;
        const char* expected;
    };
    const Case cases[] = {
        {"C:\\Tools\\host.exe", "C:\\Tools\\Torvan.ini"},
        {"C:host.exe", "C:Torvan.ini"},
        {"host.exe", "Torvan.ini"},
        {"\\\\server\\share\\a.b\\host", "\\\\server\\share\\a.b\\Torvan.ini"},
#if !defined(_WIN32)
        {"/opt/isp/bin/host", "/opt/isp/bin/Torvan.ini"},
        {"/host", "/Torvan.ini"},
#else
        {"C:\\a/b\\c/host.exe", "C:\\a/b\\Torvan.ini"},
#endif
    };
    rtd::RecordingPlatform platform(nullptr);
    rtd::ScopedPlatform scope(&platform);
    for (const Case& c : cases) {
        platform.SetExecutablePath(c.exe);
        EXPECT_EQ(SettingsFilePath(), c.expected) << c.exe;
    }
}

TEST(SettingsPath, LongPathsAreKeptWhole) {
    const std::string folder = "/" + std::string(300, 'd') + "/";
    rtd::RecordingPlatform platform(nullptr);
    rtd::ScopedPlatform scope(&platform);
    platform.SetExecutablePath(folder + "host");
#if defined(_WIN32)
    EXPECT_EQ(SettingsFilePath(), "Torvan.ini"); // "/" is no separator there
#else
    EXPECT_EQ(SettingsFilePath(), folder + "Torvan.ini");
#endif
}

TEST_F(SettingsTest, StoredValuesReadAsTheFlag) {
    struct Case {
        const char* value;
        bool expected;
    };
    const Case cases[] = {
        {"1", true},  {"2", true},    {"-1", true},   {"0x10", true}, {"\"1\"", true},
        {"0", false}, {"0x0", false}, {"abc", false}, {"1a", false},  {"", false},
    };
    for (const Case& c : cases) {
        folder.Write("Torvan.ini",
                     std::string("[RTD2120CFG]\r\nAUTOFIRESECOND=") + c.value + "\r\n");
        EXPECT_EQ(LoadAutoFireSecond(), c.expected) << '"' << c.value << '"';
    }
}

TEST_F(SettingsTest, MissingFileSectionOrKeyReadsFalse) {
    EXPECT_FALSE(LoadAutoFireSecond());
    EXPECT_FALSE(folder.Has("Torvan.ini")) << "reading must not create the file";
    folder.Write("Torvan.ini", "[OTHER]\r\nAUTOFIRESECOND=1\r\n");
    EXPECT_FALSE(LoadAutoFireSecond());
    folder.Write("Torvan.ini", "[RTD2120CFG]\r\nOTHER=1\r\n");
    EXPECT_FALSE(LoadAutoFireSecond());
}

TEST_F(SettingsTest, NamesAreCaseInsensitive) {
    folder.Write("Torvan.ini", "[rtd2120cfg]\nAutoFireSecond = 1\n");
    EXPECT_TRUE(LoadAutoFireSecond());
}

TEST_F(SettingsTest, SavingCreatesTheFileWithSectionAndKey) {
    ASSERT_TRUE(SaveAutoFireSecond(false));
    EXPECT_EQ(folder.Read("Torvan.ini"), "[RTD2120CFG]\r\nAUTOFIRESECOND=0\r\n");
    ASSERT_TRUE(SaveAutoFireSecond(true));
    EXPECT_EQ(folder.Read("Torvan.ini"), "[RTD2120CFG]\r\nAUTOFIRESECOND=1\r\n");
    EXPECT_TRUE(LoadAutoFireSecond());
}

TEST_F(SettingsTest, SavingKeepsEveryOtherSectionAndKey) {
    const std::string before = "; tools\r\n[Main]\r\nPort=3\r\n\r\n[RTD2120CFG]\r\n"
                               "AUTOFIRESECOND=0\r\nExtra = keep me \r\n\r\n[Last]\r\nA=b";
    folder.Write("Torvan.ini", before);
    ASSERT_TRUE(SaveAutoFireSecond(true));
    const std::string file = folder.Path("Torvan.ini");
    rtd::Platform& native = platform;
    EXPECT_EQ(native.ReadIniString(file, "Main", "Port", "-"), "3");
    EXPECT_EQ(native.ReadIniString(file, "RTD2120CFG", "Extra", "-"), "keep me");
    EXPECT_EQ(native.ReadIniString(file, "Last", "A", "-"), "b");
    EXPECT_TRUE(LoadAutoFireSecond());
#if !defined(_WIN32)
    // Our own writer keeps them byte for byte (the Windows one may tidy the spacing).
    EXPECT_EQ(folder.Read("Torvan.ini"),
              "; tools\r\n[Main]\r\nPort=3\r\n\r\n[RTD2120CFG]\r\n"
              "AUTOFIRESECOND=1\r\nExtra = keep me \r\n\r\n[Last]\r\nA=b");
#endif
}

// Records the profile calls instead of touching a file.
class ProfileCallRecorder : public rtd::RecordingPlatform {
public:
    ProfileCallRecorder() : RecordingPlatform(nullptr) {}
    std::string ReadIniString(const std::string& file, const std::string& section,
                              const std::string& key, const std::string& fallback) override {
        calls.push_back("read " + file + " " + section + " " + key + " '" + fallback + "'");
        return stored;
    }
    bool WriteIniString(const std::string& file, const std::string& section, const std::string& key,
                        const std::string& value) override {
        calls.push_back("write " + file + " " + section + " " + key + " " + value);
        return writable;
    }
    void FlushIni(const std::string& file) override { calls.push_back("flush " + file); }

    std::vector<std::string> calls;
    std::string stored;
    bool writable = true;
};

TEST(SettingsCalls, EachUseOpensReadsOrWritesOnceAndFlushesOnClose) {
    ProfileCallRecorder platform;
    rtd::ScopedPlatform scope(&platform);
    platform.SetExecutablePath("C:\\Host\\host.exe");
    platform.stored = "0x10";
    EXPECT_TRUE(LoadAutoFireSecond());
    SaveAutoFireSecond(false);
    platform.writable = false;
    EXPECT_FALSE(SaveAutoFireSecond(true));
    const std::vector<std::string> expected = {
        "read C:\\Host\\Torvan.ini RTD2120CFG AUTOFIRESECOND ''", "flush C:\\Host\\Torvan.ini",
        "write C:\\Host\\Torvan.ini RTD2120CFG AUTOFIRESECOND 0", "flush C:\\Host\\Torvan.ini",
        "write C:\\Host\\Torvan.ini RTD2120CFG AUTOFIRESECOND 1", "flush C:\\Host\\Torvan.ini",
    };
    EXPECT_EQ(platform.calls, expected);
}

using SettingsUnwritable = rtd::test::RecordingHost;

TEST_F(SettingsUnwritable, SaveReportsFailureWithoutThrowing) {
    // A folder that does not exist cannot take the file, for any user.
    platform.SetExecutablePath(
        (std::filesystem::path(folder.Path("missing")) / "host.exe").string());
    bool saved = true;
    EXPECT_NO_THROW(saved = SaveAutoFireSecond(true));
    EXPECT_FALSE(saved);
    EXPECT_FALSE(LoadAutoFireSecond());
}

} // namespace

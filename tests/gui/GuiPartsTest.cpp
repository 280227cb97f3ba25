// The window host's portable parts: the plug-in's filter in each toolkit's syntax, dropped
// file names, screen placement, the result strip's text, the remembered settings and the
// command line, and its man page against its --help.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DropText.h"
#include "FileFilter.h"
#include "GuiLayout.h"
#include "GuiOptions.h"
#include "GuiResult.h"
#include "GuiSettings.h"
#include "HexText.h"
#include "ManPageText.h"
#include "ReferenceCrc.h"
#include "TempDir.h"

namespace rtd::gui {
namespace {

using namespace std::string_literals;

TEST(FileFilter, EachToolkitGetsThePluginsPatternsUnderAReadableLabel) {
    struct Case {
        std::string filter, win32, fltk;
        std::vector<std::string> patterns; // FLTK's, entry by entry
    };
    const Case cases[] = {
        {"(*.hex;*.bin)|*.hex;*.bin;*.kvf",
         "Firmware (*.hex, *.bin, *.kvf)\0*.hex;*.bin;*.kvf\0\0"s,
         "Firmware (*.hex, *.bin, *.kvf)",
         {"{*.hex,*.bin,*.kvf}"}},
        {"Intel HEX|*.hex|All|*.*",
         "Intel HEX (*.hex)\0*.hex\0All (*.*)\0*.*\0\0"s,
         "Intel HEX (*.hex)\tAll (*.*)",
         {"*.hex", "*.*"}},
        {"*.bin", "Firmware (*.bin)\0*.bin\0\0"s, "Firmware (*.bin)", {"*.bin"}},
        {"Firmware| *.hex ; ;*.bin |Empty|",
         "Firmware (*.hex, *.bin)\0*.hex;*.bin\0\0"s,
         "Firmware (*.hex, *.bin)",
         {"{*.hex,*.bin}"}},
        {"Raw\t(*.kvf))|*.kvf", "Raw (*.kvf)\0*.kvf\0\0"s, "Raw (*.kvf)", {"*.kvf"}},
        {"", "", "", {}},
        {"Nothing|", "", "", {}},
    };
    for (const Case& c : cases) {
        const std::vector<FilterEntry> entries = ParseFileFilter(c.filter);
        EXPECT_EQ(Win32Filter(entries), c.win32) << c.filter;
        EXPECT_EQ(FltkFilter(entries), c.fltk) << c.filter;
        std::vector<std::string> patterns;
        for (const FilterEntry& e : entries)
            patterns.push_back(FltkPattern(e));
        EXPECT_EQ(patterns, c.patterns) << c.filter;
    }
}

TEST(DropText, FirstLocalFileOfTheUriList) {
    const std::pair<std::string, std::string> cases[] = {
        {"file:///tmp/a%20b.hex\r\n", "/tmp/a b.hex"},
        {"file://localhost/tmp/x.kvf\n", "/tmp/x.kvf"},
        {"file:///a.hex\r\nfile:///b.hex\r\n", "/a.hex"},
        {"file:///bad%zz%4", "/bad%zz%4"},
        {"/plain/path.bin", "/plain/path.bin"},
        {"file://otherhost/tmp/x.hex", ""},
        {"http://example.org/x.hex", ""},
        {"file://", ""},
        {"", ""},
    };
    for (const auto& [text, path] : cases)
        EXPECT_EQ(PathFromDropText(text), path) << text;
}

TEST(KeepOnScreen, MovesOnlyAsFarAsNeeded) {
    struct Case {
        WindowPlace place;
        int width, height;
        ScreenArea screen;
        WindowPlace expected;
    };
    const ScreenArea screen{0, 0, 1024, 768};
    const Case cases[] = {
        {{100, 50}, 580, 420, screen, {100, 50}},
        {{5000, 4000}, 580, 420, screen, {444, 348}},
        {{-300, -20}, 580, 420, screen, {0, 0}},
        {{50, 50}, 2000, 2000, screen, {0, 0}},
        {{900, 10}, 580, 420, {1024, 0, 1280, 1024}, {1024, 10}},
    };
    for (const Case& c : cases) {
        const WindowPlace at = KeepOnScreen(c.place, c.width, c.height, c.screen);
        EXPECT_EQ(at.left, c.expected.left) << c.place.left << "," << c.place.top;
        EXPECT_EQ(at.top, c.expected.top) << c.place.left << "," << c.place.top;
    }
}

TEST(ResultStrip, TextAndBanksFromTheLines) {
    EXPECT_EQ(ResultText(true, "Write", 1.26, "bank 0 CRC-8 0x5A"),
              "OK | Write | 1.3 s | bank 0 CRC-8 0x5A");
    EXPECT_EQ(ResultText(false, "Erase", 0.04, ""), "FAILED | Erase | 0.0 s");
    const std::vector<std::string> twoBanks = {"Begin...", "Erase...", "Write...", "Write..."};
    const std::vector<std::string> failedErase = {"Begin...", "Erase..."};
    EXPECT_EQ(BanksWritten(twoBanks), 2);
    EXPECT_EQ(BanksWritten(failedErase), 0);
}

// The banks a write programmed decide which CRC-8s the strip shows, also for a HEX file
// whose bank 1 comes from its extend file only when the plug-in's setting is on.
TEST(ResultStrip, BankSummaryOfWhatTheWriteProgrammed) {
    rtd::test::TempDir dir;
    std::vector<uint8_t> image(70000);
    for (size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<uint8_t>(i * 7 + 3);
    const std::vector<uint8_t> bank0(image.begin(), image.begin() + 65536);
    const std::vector<uint8_t> bank1(image.begin() + 65536, image.end());
    const std::string raw = dir.Write("fw.bin", image);
    const std::string hex = dir.Write("app.hex", rtd::test::HexFileFor(bank0, 4096));
    dir.Write("app_Extend.hex", rtd::test::HexFileFor(bank1, bank1.size()));
    const auto crc = [](const std::vector<uint8_t>& data, size_t length) {
        char text[8];
        std::snprintf(text, sizeof text, "0x%02X", rtd::test::ReferenceCrc8(data.data(), length));
        return std::string(text);
    };
    struct Case {
        std::string path;
        int banks;
        std::string summary;
    };
    const Case cases[] = {
        {raw, 2, "bank 0 CRC-8 " + crc(bank0, 65536) + ", bank 1 CRC-8 " + crc(bank1, 4464)},
        {raw, 1, "bank 0 CRC-8 " + crc(bank0, 65536)},
        {hex, 1, "bank 0 CRC-8 " + crc(bank0, 4096)},
        {hex, 2, "bank 0 CRC-8 " + crc(bank0, 4096) + ", bank 1 CRC-8 " + crc(bank1, 4464)},
        {dir.Path("gone.bin"), 1, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(BankSummary(c.path, c.banks), c.summary) << c.path << " " << c.banks;
}

TEST(GuiSettings, RoundTripAndIncompleteFiles) {
    rtd::test::TempDir dir;
    const std::string path = dir.Path("ispgui.ini");
    EXPECT_FALSE(LoadGuiSettings(path).place.has_value());
    ASSERT_TRUE(SaveGuiSettings(path, {"C:\\fw\\app.hex", "/dev/i2c-3", WindowPlace{-12, 340}}));
    const GuiSettings back = LoadGuiSettings(path);
    EXPECT_EQ(back.file, "C:\\fw\\app.hex");
    EXPECT_EQ(back.bus, "/dev/i2c-3");
    ASSERT_TRUE(back.place.has_value());
    EXPECT_EQ(back.place->left, -12);
    EXPECT_EQ(back.place->top, 340);

    const std::string noPlace[] = {"[ispgui]\r\nLeft=10\r\n", "[ispgui]\r\nLeft=x\r\nTop=5\r\n"};
    for (const std::string& text : noPlace)
        EXPECT_FALSE(LoadGuiSettings(dir.Write("partial.ini", text)).place.has_value()) << text;
}

TEST(GuiOptions, CommandLine) {
    struct Case {
        std::vector<std::string> args;
        bool ok;
        std::string bus, file, settings;
        bool busGiven;
        std::string refusal = ""; // part of the one-line reason
    };
    const Case cases[] = {
        {{}, true, "sim", "", "", false},
        {{"fw.kvf"}, true, "sim", "fw.kvf", "", false},
        {{"--bus", "/dev/i2c-1", "x.hex"}, true, "/dev/i2c-1", "x.hex", "", true},
        {{"--settings=s.ini", "--sim-fault", "no-isp"}, true, "sim", "", "s.ini", false},
        {{"--settings", "t.ini", "--", "--settings"}, true, "sim", "--settings", "t.ini", false},
        {{"--quiet"}, false, "", "", "", false},
        {{"a.hex", "b.hex"}, false, "", "", "", false},
        {{"--bus", "usb"}, false, "", "", "", false},
        {{"--settings"}, false, "", "", "", false},
        {{"--auto-fire-second", "maybe"}, false, "", "", "", false},
        {{"--no-confirm"}, true, "sim", "", "", false},
        // Refused before any window opens, as isphost refuses them.
        {{"--sim-fault", "bogus"}, false, "", "", "", false, "unknown fault 'bogus'"},
        {{"--sim-adapter", "bogus"}, false, "", "", "", false, "--sim-adapter bogus"},
        {{"--bus-speed", "7"}, false, "", "", "", false, "7"},
        {{"--bus", "ch341:x"}, false, "", "", "", false, "ch341:x"},
    };
    for (const Case& c : cases) {
        GuiOptions o;
        std::string error;
        const bool ok = ParseGuiOptions(c.args, &o, &error);
        const std::string name = c.args.empty() ? "(none)" : c.args[0];
        ASSERT_EQ(ok, c.ok) << name << ": " << error;
        if (!ok) {
            EXPECT_FALSE(error.empty()) << name;
            EXPECT_NE(error.find(c.refusal), std::string::npos) << error;
            EXPECT_EQ(error.find('\n'), std::string::npos) << error;
            continue;
        }
        EXPECT_EQ(o.host.bus, c.bus) << name;
        EXPECT_EQ(o.busGiven, c.busGiven) << name;
        EXPECT_EQ(o.file, c.file) << name;
        EXPECT_EQ(o.settingsFile, c.settings) << name;
    }
}

TEST(GuiManPage, HasAParagraphForEachOption) {
    const std::string page = rtd::test::ReadFileText(RTD_TEST_GUI_MANPAGE);
    ASSERT_FALSE(page.empty()) << RTD_TEST_GUI_MANPAGE;
    const auto options = rtd::test::HelpColumn(GuiHelpText(), 2, "-");
    EXPECT_GT(options.size(), 2u); // the help text was read as meant
    EXPECT_EQ(rtd::test::ManTags(page, "OPTIONS"), options);
}

} // namespace
} // namespace rtd::gui

// ispgui's window with the built plug-in and the chip model, shown for real and driven as
// a person would through the toolkit's own event paths: type or browse to a file, click
// the buttons, drop a file, press F5, use the plug-in's Setup dialog, close the window.
// What the window shows is read back from the toolkit, what the chip holds from the
// model's flash file.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "BuildPath.h"
#include "BusList.h"
#include "BusTable.h"
#include "FileCheck.h"
#include "GuiProgrammer.h"
#include "GuiResult.h"
#include "HostBus.h"
#include "ImageTools.h"
#include "Quonunit.h"
#include "ReferenceCrc.h"
#include "Screenshot.h"
#include "TempDir.h"
#include "TopWindows.h"

namespace rtd::gui {
namespace {

using rtd::test::ReadFileBytes;

const char kSetupCaption[] = "RTD2120 Setup";
const int kInputs[] = {kFileEdit,    kBrowseButton, kBusChoice,     kWriteButton, kVerifyButton,
                       kEraseButton, kResetButton,  kExtFuncButton, kSetupButton, kAboutButton};

std::string Example(const std::string& name) {
    return rtd::test::NativeBuildPath(std::string(RTD_TEST_EXAMPLES) + "/" + name);
}

// What a write of `path` leaves in the flash, as the host's image tools see it.
std::vector<uint8_t> ImageOf(const std::string& path, bool autoFireSecond) {
    return host::PlanFor(path, autoFireSecond).image;
}

// "bank 0 CRC-8 0x.., bank 1 CRC-8 0x.." of what the chip holds, computed independently:
// each bank's CRC-8 over its window less the trailing 0xFF bytes (all of an empty one).
std::string CrcsInFlash(const std::vector<uint8_t>& flash, int banks) {
    std::string text;
    for (int bank = 0; bank < banks; ++bank) {
        const uint8_t* window = flash.data() + bank * 65536;
        size_t used = 65536;
        while (used > 0 && window[used - 1] == 0xFF)
            --used;
        if (used == 0)
            used = 65536; // an empty bank is verified over its whole window
        char part[40];
        std::snprintf(part, sizeof part, "%sbank %d CRC-8 0x%02X", bank ? ", " : "", bank,
                      rtd::test::ReferenceCrc8(window, used));
        text += part;
    }
    return text;
}

bool IsGreen(uint32_t rgb) {
    return (rgb >> 8 & 0xFF) > (rgb >> 16) + 0x30 && (rgb >> 8 & 0xFF) > (rgb & 0xFF) + 0x30;
}
bool IsRed(uint32_t rgb) {
    return (rgb >> 16) > (rgb >> 8 & 0xFF) + 0x30 && (rgb >> 16) > (rgb & 0xFF) + 0x30;
}

// "OK | Write | 1.3 s | detail": the outcome, the command, some time, the detail.
// The first line of the strip; a failure's diagnosis follows it.
void ExpectStrip(const GuiReading& r, bool ok, const std::string& command,
                 const std::string& detail) {
    const std::string all = r.controls[kResultStrip].text;
    const std::string text = all.substr(0, all.find('\n'));
    const std::string head = std::string(ok ? "OK" : "FAILED") + " | " + command + " | ";
    EXPECT_EQ(text.substr(0, head.size()), head) << text;
    EXPECT_TRUE(std::regex_search(text, std::regex(" \\| [0-9]+\\.[0-9] s( \\||$)"))) << text;
    if (!detail.empty()) {
        EXPECT_EQ(text.substr(text.size() - std::min(text.size(), detail.size() + 3)),
                  " | " + detail)
            << text;
    }
    EXPECT_TRUE(ok ? IsGreen(r.resultColour) : IsRed(r.resultColour)) << std::hex << r.resultColour;
    EXPECT_EQ(IsRed(r.progressColour), !ok) << std::hex << r.progressColour;
    EXPECT_LE(r.resultTextWidth, r.controls[kResultStrip].width) << all;
    EXPECT_LE(r.resultTextHeight, r.controls[kResultStrip].height) << all;
}

void ExpectInputsEnabled(const GuiReading& r, bool enabled) {
    for (int control : kInputs)
        EXPECT_EQ(r.controls[static_cast<size_t>(control)].enabled, enabled)
            << MainWindowLayout().controls[static_cast<size_t>(control)].name;
}

class GuiTest : public ::testing::Test {
protected:
    void SetUp() override {
        // The plug-in's setting beside this test, as on a fresh bench.
        ASSERT_TRUE(SaveAutoFireSecond(false));
        options_.host.plugin = rtd::test::NativeBuildPath(RTD_TEST_PLUGIN);
        options_.settingsFile = dir_.Path("ispgui.ini");
        options_.host.simFlash = dir_.Path("flash.bin");
        options_.noConfirm = true; // the confirmation has its own test
    }

    void TearDown() override {
        SetProgressHook(nullptr);
        SetFileDialogHook(nullptr);
        programmer_.reset();
        SaveAutoFireSecond(false);
    }

    // Shows the window; false when there is no display to show it on.
    bool Start() {
        programmer_ = std::make_unique<GuiProgrammer>(options_);
        std::string error;
        if (programmer_->Start(&error))
            return true;
        programmer_.reset();
        if (error.find("display") == std::string::npos)
            ADD_FAILURE() << error;
        return false;
    }

    // Closes the window as the user does and unloads the plug-in.
    void Stop() {
        View().CloseFromTitleBar();
        EXPECT_FALSE(View().IsOpen());
        programmer_.reset();
    }

    GuiView& View() { return programmer_->View(); }

    GuiReading Run(int button, const std::string& file = "") {
        if (!file.empty())
            View().Type(kFileEdit, file);
        View().Click(button);
        return View().Read();
    }

    std::vector<uint8_t> Flash() { return ReadFileBytes(options_.host.simFlash); }

    rtd::test::TempDir dir_;
    GuiOptions options_;
    std::unique_ptr<GuiProgrammer> programmer_;
};

#define START_OR_SKIP()                                                                            \
    do {                                                                                           \
        if (!Start())                                                                              \
            GTEST_SKIP() << "no display to show the window on";                                    \
    } while (0)

TEST_F(GuiTest, ShowsWhatThePluginAnnouncesInTheLayout) {
    START_OR_SKIP();
    const GuiReading r = View().Read();
    const WindowLayout& layout = MainWindowLayout();
    EXPECT_EQ(r.caption, "RTD2120 programmer");
    EXPECT_TRUE(r.open);
    EXPECT_EQ(r.clientWidth, layout.clientWidth);
    EXPECT_EQ(r.clientHeight, layout.clientHeight);
    ASSERT_EQ(r.controls.size(), layout.controls.size());
    for (size_t i = 0; i < layout.controls.size(); ++i) {
        const ControlRow& control = layout.controls[i];
        const GuiControlReading& got = r.controls[i];
        SCOPED_TRACE(control.name);
        EXPECT_TRUE(got.shown);
        EXPECT_TRUE(got.enabled);
        EXPECT_EQ(got.left, control.left);
        EXPECT_EQ(got.top, control.top);
        EXPECT_EQ(got.width, control.width);
        if (control.kind != ControlKind::Choice) { // a Win32 combo box's height is its font's
            EXPECT_EQ(got.height, control.height);
        }
        if (control.kind == ControlKind::Button && control.text) {
            EXPECT_EQ(got.text, control.text);
        }
    }
    EXPECT_EQ(r.controls[kExtFuncButton].text, "Enter isp");
    // The chip model, then the adapters attached, as `isphost buses` lists them.
    size_t attached = 0;
    for (const host::FoundBuses& buses : host::FindBuses())
        attached += buses.found.size();
    ASSERT_EQ(r.choices.size(), 1 + attached);
    EXPECT_EQ(r.choices[0], "sim: the chip model, flash kept in " + options_.host.simFlash);
    EXPECT_EQ(r.chosen, 0);
    EXPECT_EQ(r.controls[kFileEdit].text, "");
    EXPECT_TRUE(r.lines.empty());
    EXPECT_EQ(r.progress, 0);
    EXPECT_TRUE(r.acceptsDrops);
    Stop();
}

TEST_F(GuiTest, CommandsRunOnTheChipModel) {
    enum class Chip { Image, Blank, Partly }; // Partly: a failed write's leftovers
    // A failure's last strip line, by what the chip holds.
    const char* const holds[] = {
        "diagnosis: the chip is untouched", "diagnosis: the chip is erased",
        "diagnosis: the chip is erased and partly written: run write again"};
    struct Case {
        const char* name;
        std::vector<std::string> faults;
        bool writtenBefore; // the chip holds two-bank.kvf when the command starts
        int button;
        std::string file;
        bool ok;
        std::vector<std::string> lines;
        std::string detail; // "crcs": the CRC-8s of the banks in the flash
        int progress;
        Chip chip;
    };
    const std::string packed = Example("two-bank.kvf"), raw = Example("raw-image.bin");
    const std::vector<std::string> writeRaw = {"Begin...", "Fire Bank0...", "Erase...", "Write..."};
    const Case cases[] = {
        {"packed file, both banks",
         {},
         false,
         kWriteButton,
         packed,
         true,
         {"Begin...", "LoadFile:" + packed, "Fire Bank0...", "Erase...", "Write...",
          "Fire Bank1...", "Write..."},
         "crcs",
         100,
         Chip::Image},
        {"raw image, bank 0",
         {},
         false,
         kWriteButton,
         raw,
         true,
         writeRaw,
         "crcs",
         100,
         Chip::Image},
        {"stuck flash bit",
         {"stuck=0:0010"},
         false,
         kWriteButton,
         raw,
         false,
         {"Begin...", "Fire Bank0...", "Erase...", "Write...", "Crc Error!"},
         "Crc Error!",
         100,
         Chip::Partly},
        {"erase",
         {},
         true,
         kEraseButton,
         "",
         true,
         {"Begin...", "Erase...", "Reset..."},
         "",
         0,
         Chip::Blank},
        {"reset", {}, true, kResetButton, "", true, {"Begin...", "Reset..."}, "", 0, Chip::Image},
        {"verify", {}, true, kVerifyButton, packed, true, {}, "", 0, Chip::Image},
        {"chip never enters ISP",
         {"no-isp"},
         true,
         kEraseButton,
         "",
         false,
         {"Begin...", "Enter Isp fail."},
         "Enter Isp fail.",
         0,
         Chip::Image},
        {"erase never finishes",
         {"erase-busy=20"},
         true,
         kEraseButton,
         "",
         false,
         {"Begin...", "Erase..."},
         "Erase...",
         0,
         Chip::Blank},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::remove(options_.host.simFlash.c_str());
        if (c.writtenBefore)
            dir_.Write("flash.bin", ImageOf(packed, false));
        options_.host.simFaults = c.faults;
        START_OR_SKIP();
        const GuiReading r = Run(c.button, c.file);
        if (!c.ok && c.button == kWriteButton) { // the documentation's failed write
            View().Flush();
            rtd::test::PauseForScreenshot("gui-failed", r.left, r.top, r.outerWidth, r.outerHeight);
        }
        EXPECT_EQ(r.lines, c.lines);
        EXPECT_EQ(r.progress, c.progress);
        const std::vector<uint8_t> flash = Flash();
        const std::string& image = c.file.empty() ? packed : c.file;
        if (c.chip == Chip::Image) {
            EXPECT_TRUE(flash == ImageOf(image, false)) << "the chip does not hold " << image;
        } else if (c.chip == Chip::Blank) {
            EXPECT_TRUE(flash == std::vector<uint8_t>(131072, 0xFF)) << "the chip is not blank";
        }
        const std::string command = r.controls[static_cast<size_t>(c.button)].text;
        ExpectStrip(r, c.ok, command,
                    c.detail == "crcs" ? CrcsInFlash(flash, c.file == packed ? 2 : 1) : c.detail);
        ExpectInputsEnabled(r, true);
        // ChipRun's counts, and its diagnosis of a failure, shown below the result.
        EXPECT_GT(programmer_->LastReport().bus.calls, 0);
        EXPECT_EQ(programmer_->LastDiagnosis().empty(), c.ok);
        for (const std::string& line : programmer_->LastDiagnosis())
            EXPECT_NE(r.controls[kResultStrip].text.find("\n" + line), std::string::npos) << line;
        const std::string& strip = r.controls[kResultStrip].text;
        const std::string last = strip.substr(strip.rfind('\n') + 1);
        if (!c.ok) {
            EXPECT_EQ(last, holds[static_cast<int>(c.chip)]) << strip;
        }
        Stop();
    }
}

TEST_F(GuiTest, ProgressBarFollowsTheProgressMessagesOfEachBank) {
    START_OR_SKIP();
    View().Type(kFileEdit, Example("two-bank.kvf"));
    View().Flush();
    const GuiReading shown = View().Read();
    rtd::test::PauseForScreenshot("gui-before", shown.left, shown.top, shown.outerWidth,
                                  shown.outerHeight);
    // A first write leaves its green strip and full bar, which the next one must replace.
    View().Click(kWriteButton);
    std::vector<int> seen;           // the bar's value each time a message reached it
    std::vector<std::string> strips; // the strip's text each time it changed
    bool before = false, during = false;
    SetProgressHook([&](GuiView& view, int percent) {
        const GuiReading now = view.Read();
        seen.push_back(now.progress);
        EXPECT_EQ(seen.back(), percent);
        EXPECT_FALSE(IsRed(now.progressColour) || IsGreen(now.resultColour));
        if (strips.empty() || strips.back() != now.controls[kResultStrip].text)
            strips.push_back(now.controls[kResultStrip].text);
        if (!during && percent >= 50) {
            during = true;
            view.Flush();
            const GuiReading r = view.Read();
            rtd::test::PauseForScreenshot("gui-during", r.left, r.top, r.outerWidth, r.outerHeight);
        }
    });
    GuiReading r = View().Read();
    before = r.progress == 100 && IsGreen(r.resultColour);
    View().Click(kWriteButton);
    SetProgressHook(nullptr);
    View().Flush();
    r = View().Read();
    rtd::test::PauseForScreenshot("gui-after", r.left, r.top, r.outerWidth, r.outerHeight);
    EXPECT_TRUE(before);
    EXPECT_TRUE(during);
    // One run from the first page to 100 per bank.
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(std::count(seen.begin(), seen.end(), 100), 2);
    EXPECT_EQ(seen.back(), 100);
    for (size_t i = 1; i < seen.size(); ++i) {
        if (seen[i - 1] != 100) {
            EXPECT_GE(seen[i], seen[i - 1]) << "message " << i;
        }
    }
    EXPECT_EQ(r.progress, 100);
    EXPECT_EQ(strips, (std::vector<std::string>{"Writing bank 0...", "Writing bank 1..."}));
    Stop();
}

TEST_F(GuiTest, SetupFromTheWindowDecidesTheNextHexWrite) {
    START_OR_SKIP();
    const std::string hex = Example("app.hex");
    GuiReading r = Run(kWriteButton, hex);
    ExpectStrip(r, true, "Write", CrcsInFlash(Flash(), 1));
    EXPECT_TRUE(Flash() == ImageOf(hex, false));

    // The window's fonts, each the layout's face, stay as they are once Setup has shown
    // its own.
    std::vector<std::string> fontsBefore;
    for (size_t i = 0; i < r.controls.size(); ++i) {
        fontsBefore.push_back(r.controls[i].fonts);
#if !defined(_WIN32)
        EXPECT_NE(r.controls[i].fonts.find(MainWindowLayout().controls[i].font.face),
                  std::string::npos)
            << r.controls[i].fonts;
#endif
    }
    // The plug-in's Setup dialog, found and clicked through the window system from inside
    // its own modal loop.
    rtd::test::TopWindow dialog;
    bool checked = false;
    std::function<void(int)> drive = [&](int attempt) {
        dialog = rtd::test::FindTopWindow(kSetupCaption);
        if (!dialog.found && attempt < 100) {
            View().After(100, [&, attempt] { drive(attempt + 1); });
            return;
        }
        ASSERT_TRUE(rtd::test::ClickInTopWindow(kSetupCaption, "Auto fire second bank"));
        checked = rtd::test::CheckedInTopWindow(kSetupCaption, "Auto fire second bank");
        ASSERT_TRUE(rtd::test::ClickInTopWindow(kSetupCaption, "OK"));
    };
    View().After(100, [&] { drive(0); });
    View().Click(kSetupButton);
    ASSERT_TRUE(dialog.found);
    EXPECT_TRUE(checked);
    EXPECT_FALSE(rtd::test::FindTopWindow(kSetupCaption).found);

    r = Run(kWriteButton);
    for (size_t i = 0; i < r.controls.size(); ++i)
        EXPECT_EQ(r.controls[i].fonts, fontsBefore[i]) << MainWindowLayout().controls[i].name;
    EXPECT_TRUE(Flash() == ImageOf(hex, true)) << "bank 1 is not the extend file";
    ExpectStrip(r, true, "Write", CrcsInFlash(Flash(), 2));
    Stop();
}

// Both plug-in dialogs open owned by the window and centred over it: Setup by the
// plug-in's arithmetic, About (which the plug-in leaves to the window system) by ispgui's.
TEST_F(GuiTest, PluginDialogsOpenCentredOverTheWindow) {
    ASSERT_TRUE(SaveGuiSettings(options_.settingsFile, {"", "sim", WindowPlace{120, 90}}));
    START_OR_SKIP();
    const struct {
        int button;
        const char *caption, *close;
    } cases[] = {{kSetupButton, kSetupCaption, "OK"}, {kAboutButton, "About...", "Close"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.caption);
        rtd::test::TopWindow dialog;
        // Read once the window has had its chance to move it, then closed.
        std::function<void(int)> look = [&](int attempt) {
            dialog = rtd::test::FindTopWindow(c.caption);
            if (!dialog.found && attempt < 100) {
                View().After(100, [&, attempt] { look(attempt + 1); });
                return;
            }
            EXPECT_TRUE(rtd::test::ClickInTopWindow(c.caption, c.close));
        };
        View().After(200, [&] { look(0); });
        View().Click(c.button);
        ASSERT_TRUE(dialog.found);
        TForm& form = *View().Form();
        EXPECT_EQ(dialog.owner, form.GetHandle());
        EXPECT_EQ(dialog.left, (form.GetWidth() - dialog.outerWidth) / 2 + form.GetLeft());
        EXPECT_EQ(dialog.top, (form.GetHeight() - dialog.outerHeight) / 2 + form.GetTop());
    }
    Stop();
}

// During a write every input is disabled; clicks that were already on their way when it
// started reach the plug-in, which refuses them without disturbing the write.
TEST_F(GuiTest, BusyWindowTakesNoCommandAndThePluginRefusesWhatGetsThrough) {
    START_OR_SKIP();
    const std::string raw = Example("raw-image.bin");
    bool acted = false, dialogSeen = false;
    GuiReading during;
    SetProgressHook([&](GuiView& view, int percent) {
        if (acted || percent < 30)
            return;
        acted = true;
        during = view.Read();
        view.Click(kEraseButton); // disabled: takes no click
        view.ClickQueued(kEraseButton);
        view.ClickQueued(kResetButton);
        view.ClickQueued(kSetupButton);
        // A dialog the plug-in failed to refuse would wait for a click: record and close it.
        view.After(200, [&] { dialogSeen = rtd::test::ClickInTopWindow(kSetupCaption, "OK"); });
    });
    const GuiReading r = Run(kWriteButton, raw);
    SetProgressHook(nullptr);
    ASSERT_TRUE(acted);
    ExpectInputsEnabled(during, false);
    EXPECT_TRUE(during.open);
    EXPECT_EQ(programmer_->Refused(), 2);
    EXPECT_FALSE(dialogSeen);
    EXPECT_EQ(r.lines,
              (std::vector<std::string>{"Begin...", "Fire Bank0...", "Erase...", "Write..."}));
    EXPECT_TRUE(Flash() == ImageOf(raw, false));
    ExpectStrip(r, true, "Write", CrcsInFlash(Flash(), 1));
    ExpectInputsEnabled(r, true);
    Stop();
}

TEST_F(GuiTest, ClosingDuringAWriteWaitsForItsEnd) {
    START_OR_SKIP();
    const std::string packed = Example("two-bank.kvf");
    bool openAfterClose = false, asked = false;
    SetProgressHook([&](GuiView& view, int percent) {
        if (asked || percent < 30)
            return;
        asked = true;
        view.CloseFromTitleBar();
        openAfterClose = view.IsOpen();
    });
    testing::internal::CaptureStderr();
    const GuiReading r = Run(kWriteButton, packed);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "write: OK\n");
    SetProgressHook(nullptr);
    EXPECT_TRUE(asked);
    EXPECT_TRUE(openAfterClose) << "the window closed under the running write";
    EXPECT_FALSE(r.open) << "the window did not close once the write had ended";
    EXPECT_FALSE(programmer_->Busy());
    ExpectStrip(r, true, "Write", CrcsInFlash(Flash(), 2));
    EXPECT_TRUE(Flash() == ImageOf(packed, false));
    programmer_->Finish();
    EXPECT_EQ(LoadGuiSettings(options_.settingsFile).file, packed);
}

TEST_F(GuiTest, DroppedFileThenF5WritesEachNextBoard) {
    START_OR_SKIP();
    const std::string raw = Example("raw-image.bin");
    View().Drop(raw);
    EXPECT_EQ(View().Read().controls[kFileEdit].text, raw);
    View().PressWriteAgainKey();
    EXPECT_TRUE(Flash() == ImageOf(raw, false));
    // The next board: a blank chip, written again with F5 alone.
    View().Click(kEraseButton);
    ASSERT_TRUE(Flash() == std::vector<uint8_t>(131072, 0xFF));
    View().PressWriteAgainKey();
    EXPECT_TRUE(Flash() == ImageOf(raw, false));
    ExpectStrip(View().Read(), true, "Write", CrcsInFlash(Flash(), 1));
    Stop();
}

TEST_F(GuiTest, RemembersFileBusAndPlaceBetweenRuns) {
    const std::string packed = Example("two-bank.kvf"), raw = Example("raw-image.bin");
    ASSERT_TRUE(SaveGuiSettings(options_.settingsFile, {packed, "sim", WindowPlace{120, 90}}));
    START_OR_SKIP();
    GuiReading r = View().Read();
    EXPECT_EQ(r.controls[kFileEdit].text, packed);
    EXPECT_EQ(r.chosen, 0);
    EXPECT_EQ(r.left, 120);
    EXPECT_EQ(r.top, 90);
    View().Type(kFileEdit, raw);
    Stop();
    GuiSettings saved = LoadGuiSettings(options_.settingsFile);
    EXPECT_EQ(saved.file, raw);
    EXPECT_EQ(saved.bus, "sim");
    ASSERT_TRUE(saved.place.has_value());
    EXPECT_EQ(saved.place->left, 120);
    EXPECT_EQ(saved.place->top, 90);

    // A place off the screen (a monitor that is gone) opens on it; a file named on the
    // command line goes before the remembered one.
    ASSERT_TRUE(SaveGuiSettings(options_.settingsFile, {raw, "sim", WindowPlace{5000, 4000}}));
    options_.file = packed;
    ASSERT_TRUE(Start());
    r = View().Read();
    EXPECT_EQ(r.controls[kFileEdit].text, packed);
    EXPECT_GE(r.left, 0);
    EXPECT_GE(r.top, 0);
    EXPECT_LE(r.left + r.outerWidth, 1024);
    EXPECT_LE(r.top + r.outerHeight, 768);
    Stop();
}

TEST_F(GuiTest, BrowseOffersThePluginsFilter) {
    for (const char* name : {"a.hex", "b.bin", "c.kvf", "d.txt"})
        dir_.Write(name, "x");
    START_OR_SKIP();
    const std::string start = dir_.Path("a.hex");
    View().Type(kFileEdit, start);
    struct Case {
        bool choose;
        std::string field;
    };
    for (const Case& c : {Case{false, start}, Case{true, dir_.Path("c.kvf")}}) {
        std::vector<std::string> choices, listed;
        bool shown = false;
        SetFileDialogHook([&](FileDialog& dialog) {
            shown = true;
            choices = dialog.FilterChoices();
            listed = dialog.ListedNames();
            if (c.choose)
                dialog.Choose(dir_.Path("c.kvf"));
            else
                dialog.Cancel();
        });
        View().Click(kBrowseButton);
        SetFileDialogHook(nullptr);
        ASSERT_TRUE(shown);
        ASSERT_FALSE(choices.empty());
        // The label read back from the dialog; the files it lists show its patterns work.
        EXPECT_EQ(choices[0], "Firmware (*.hex, *.bin, *.kvf)");
        for (const char* name : {"a.hex", "b.bin", "c.kvf"})
            EXPECT_NE(std::find(listed.begin(), listed.end(), name), listed.end()) << name;
        EXPECT_EQ(std::find(listed.begin(), listed.end(), "d.txt"), listed.end());
        EXPECT_EQ(View().Read().controls[kFileEdit].text, c.field);
    }
    Stop();
}

TEST_F(GuiTest, EnterIspRunsTheExtraFunction) {
    START_OR_SKIP();
    const GuiReading r = Run(kExtFuncButton);
    ExpectStrip(r, true, "Enter isp", "");
    EXPECT_EQ(r.progress, 100);
    EXPECT_TRUE(r.lines.empty());
    Stop();
}

TEST_F(GuiTest, ABusThatCannotBeOpenedFailsWithItsReason) {
    options_.host.bus = "/dev/i2c-250";
    options_.busGiven = true;
    START_OR_SKIP();
    GuiReading r = View().Read();
    ASSERT_GE(r.choices.size(), 2u);
    EXPECT_EQ(r.choices.back(), "/dev/i2c-250");
    EXPECT_EQ(r.chosen, static_cast<int>(r.choices.size()) - 1);
    r = Run(kWriteButton, Example("raw-image.bin"));
    ExpectStrip(r, false, "Write", "");
    EXPECT_NE(r.controls[kResultStrip].text.find("/dev/i2c-250"), std::string::npos);
    EXPECT_TRUE(r.lines.empty()) << "the plug-in was called without a bus";
    ExpectInputsEnabled(r, true);
    Stop();
}

// A file the host's pre-check refuses never reaches the plug-in: the strip says why in
// isphost's words, not the plug-in's "File format error.".
TEST_F(GuiTest, AFileThePreCheckRefusesShowsItsReason) {
    dir_.Write("cut.hex", ":10000000");
    dir_.Write("empty.bin", "");
    const struct {
        int button;
        std::string file;
    } cases[] = {{kWriteButton, dir_.Path("missing.kvf")},
                 {kWriteButton, dir_.Path("cut.hex")},
                 {kVerifyButton, dir_.Path("empty.bin")}};
    START_OR_SKIP();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const GuiReading r = Run(c.button, c.file);
        const std::string refusal = host::CheckFirmwareFile(c.file);
        EXPECT_NE(refusal.find("nothing was sent"), std::string::npos) << refusal;
        ExpectStrip(r, false, r.controls[static_cast<size_t>(c.button)].text, refusal);
        EXPECT_TRUE(r.lines.empty()) << "the plug-in was called";
    }
    Stop();
}

// The pre-flight refuses a bus that cannot carry a page write: the plug-in is not called
// and the chip keeps what it held.
TEST_F(GuiTest, APreflightRefusalKeepsTheChipAndShowsTheReason) {
    const std::string packed = Example("two-bank.kvf");
    dir_.Write("flash.bin", ImageOf(packed, false));
    options_.host.simAdapter = {"max-write=61"};
    START_OR_SKIP();
    const GuiReading r = Run(kWriteButton, packed);
    ExpectStrip(r, false, "Write", "");
    EXPECT_NE(r.controls[kResultStrip].text.find("adapter refuses 257-byte messages (limit 61)"),
              std::string::npos)
        << r.controls[kResultStrip].text;
    EXPECT_TRUE(r.lines.empty()) << "the plug-in was called";
    EXPECT_TRUE(Flash() == ImageOf(packed, false)) << "the chip was changed";
    Stop();
}

// Erase asks first, No the default: only Yes erases.
TEST_F(GuiTest, EraseAsksFirst) {
    const std::string packed = Example("two-bank.kvf");
    options_.noConfirm = false;
    struct Case {
        const char* answer;
        bool erased;
    };
    for (const Case& c : {Case{"No", false}, Case{"Yes", true}}) {
        SCOPED_TRACE(c.answer);
        dir_.Write("flash.bin", ImageOf(packed, false));
        START_OR_SKIP();
        bool asked = false;
        std::function<void(int)> answer = [&](int attempt) {
            if (!rtd::test::FindTopWindow("Erase").found && attempt < 100) {
                View().After(100, [&, attempt] { answer(attempt + 1); });
                return;
            }
            asked = rtd::test::ClickInTopWindow("Erase", c.answer);
        };
        View().After(100, [&] { answer(0); });
        const GuiReading r = Run(kEraseButton);
        EXPECT_TRUE(asked);
        EXPECT_EQ(Flash() == std::vector<uint8_t>(131072, 0xFF), c.erased);
        EXPECT_EQ(r.lines.empty(), !c.erased);
        Stop();
    }
}

// Every refusal the host can give before or instead of a command fits the strip whole.
TEST_F(GuiTest, EveryRefusalFitsTheStrip) {
    struct Case {
        const char* bus;
        std::vector<std::string> faults, limits;
    };
    const Case cases[] = {
        {"sim", {"bogus"}, {}}, {"sim", {"stuck=x"}, {}}, {"sim", {}, {"bogus"}},
        {"ch341", {}, {}},      {"/dev/i2c-250", {}, {}},
    };
    std::vector<std::string> refusals;
    for (const Case& c : cases) {
        host::BusOptions bus;
        bus.bus = c.bus;
        bus.simFaults = c.faults;
        bus.simAdapter = c.limits;
        std::string error;
        if (!host::CreateHostBus(bus, nullptr, &error))
            refusals.push_back(error);
    }
    // The pre-flight's, as the window shows it after a write.
    const std::string packed = Example("two-bank.kvf");
    options_.host.simAdapter = {"max-write=61"};
    START_OR_SKIP();
    refusals.push_back(Run(kWriteButton, packed).controls[kResultStrip].text);
    ASSERT_GE(refusals.size(), 4u);
    for (const std::string& refusal : refusals) {
        View().SetResult(ResultTone::Failed, ResultText(false, "Write", 0.4, refusal));
        const GuiReading r = View().Read();
        EXPECT_GT(r.resultTextHeight, 0);
        EXPECT_LE(r.resultTextWidth, r.controls[kResultStrip].width) << refusal;
        EXPECT_LE(r.resultTextHeight, r.controls[kResultStrip].height) << refusal;
    }
    Stop();
}

} // namespace
} // namespace rtd::gui

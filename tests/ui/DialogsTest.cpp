// The About and Setup dialogs, shown for real and read back from the window system.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "DialogLayout.h"
#include "DialogWindow.h"
#include "Dialogs.h"
#include "HostWindow.h"
#include "Ispunit.h"
#include "Placement.h"
#include "Recorders.h"
#include "RecordingPlatform.h"
#include "Screenshot.h"
#include "TempDir.h"

namespace {

using rtd::DialogReading;
using rtd::DialogWindow;
using rtd::ui::CentredOver;

TEST(Centring, HalvesTheDifferenceTowardZero) {
    struct Case {
        rtd::ui::ScreenRect owner;
        int width, height;
        int left, top;
    };
    const Case cases[] = {
        {{100, 50, 801, 600}, 334, 192, 333, 254},    {{0, 0, 300, 200}, 335, 200, -17, 0},
        {{0, 0, 300, 200}, 305, 205, -2, -2},         {{0, 0, 305, 205}, 300, 200, 2, 2},
        {{-1000, -20, 400, 300}, 100, 100, -850, 80}, {{10, 10, 0, 0}, 1, 1, 10, 10},
    };
    for (const Case& c : cases) {
        const rtd::ui::ScreenPoint at = CentredOver(c.owner, c.width, c.height);
        EXPECT_EQ(at.left, c.left) << c.owner.width << " - " << c.width;
        EXPECT_EQ(at.top, c.top) << c.owner.height << " - " << c.height;
    }
}

struct ExpectedControl {
    const char* text;
    int left, top, width, height;
    const char* face;
    int fontHeight;
    bool bold;
    uint32_t colour;
    bool tabStop;
    bool focused;
};

void ExpectControls(const DialogReading& reading, const std::vector<ExpectedControl>& expected) {
    ASSERT_EQ(reading.controls.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        const rtd::ControlReading& got = reading.controls[i];
        const ExpectedControl& want = expected[i];
        SCOPED_TRACE(want.text);
        EXPECT_EQ(got.text, want.text);
        EXPECT_EQ(got.left, want.left);
        EXPECT_EQ(got.top, want.top);
        EXPECT_EQ(got.width, want.width);
        EXPECT_EQ(got.height, want.height);
        EXPECT_EQ(got.fontFace, want.face);
        EXPECT_EQ(got.fontHeight, want.fontHeight);
        EXPECT_EQ(got.bold, want.bold);
        EXPECT_EQ(got.colour, want.colour);
        EXPECT_EQ(got.tabStop, want.tabStop);
        EXPECT_EQ(got.focused, want.focused);
    }
}

// What happened while a dialog was shown.
struct Shown {
    int calls = 0;
    DialogReading reading;
    bool openAfterAction = true;
};

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!rtd::DialogDisplayAvailable())
            GTEST_SKIP() << "no display to show dialogs on";
        host_ = std::make_unique<rtd::test::HostWindow>(form_.left, form_.top, form_.width,
                                                        form_.height);
        if (!host_->Handle())
            GTEST_SKIP() << "no window system";
        form_.handle = host_->Handle();
        platform_.SetExecutablePath(folder_.Path("host.exe"));
        IspUnit = new TIspUnit;
        IspUnit->SetMainFrm(&form_);
    }

    void TearDown() override {
        rtd::SetDialogShownHook(nullptr);
        delete IspUnit;
        IspUnit = nullptr;
    }

    // Shows a dialog; `act` runs once it is visible. The dialog is closed afterwards in
    // any case, so a fault cannot hang the test.
    Shown Drive(void (*show)(), const char* name, std::function<void(DialogWindow&)> act) {
        Shown shown;
        rtd::SetDialogShownHook([&](DialogWindow& window) {
            ++shown.calls;
            shown.reading = window.Read();
            rtd::test::PauseForScreenshot(name, shown.reading.left, shown.reading.top,
                                          shown.reading.outerWidth, shown.reading.outerHeight);
            if (act)
                act(window);
            shown.openAfterAction = window.Open();
            window.Close();
        });
        show();
        rtd::SetDialogShownHook(nullptr);
        return shown;
    }

    rtd::test::TempDir folder_;
    rtd::RecordingPlatform platform_{nullptr};
    rtd::ScopedPlatform scope_{&platform_};
    rtd::test::FakeForm form_;
    std::unique_ptr<rtd::test::HostWindow> host_;
};

TEST_F(DialogTest, AboutShowsItsLayoutAndCloseEndsIt) {
    const Shown shown =
        Drive(ShowAboutDialog, "about", [](DialogWindow& w) { w.Click(rtd::ui::kAboutButton1); });
    ASSERT_EQ(shown.calls, 1);
    EXPECT_FALSE(shown.openAfterAction) << "Close must end the dialog";
    const DialogReading& r = shown.reading;
    EXPECT_EQ(r.caption, "About...");
    EXPECT_EQ(r.clientWidth, 377);
    EXPECT_EQ(r.clientHeight, 121);
    EXPECT_FALSE(r.resizable);
    EXPECT_FALSE(r.minimizeBox);
    EXPECT_FALSE(r.maximizeBox);
    EXPECT_TRUE(r.systemMenu);
    EXPECT_EQ(r.owner, form_.handle);
    // clang-format off
    ExpectControls(r, {
        // text                     left top width height font                 px  bold   colour    tab    focus
        {"RTD2120 ISP V1.0",         98, 18, 181, 22, "MS Reference Sans Serif", 19, true,  0x000000, false, false},
        {"Firmware tools team",     116, 50, 141, 16, "MS Sans Serif",           13, false, 0x0000FF, false, false},
        {"Close",                   124, 79, 129, 25, "MS Sans Serif",           13, false, 0x000000, true,  true},
    });
    // clang-format on
}

TEST_F(DialogTest, SetupShowsItsLayoutCentredOverTheMainForm) {
    const Shown shown = Drive(ShowSetupDialog, "setup", nullptr);
    ASSERT_EQ(shown.calls, 1);
    const DialogReading& r = shown.reading;
    EXPECT_EQ(r.caption, "RTD2120 Setup");
    EXPECT_EQ(r.clientWidth, 328);
    EXPECT_EQ(r.clientHeight, 166);
    EXPECT_FALSE(r.resizable);
    EXPECT_FALSE(r.minimizeBox);
    EXPECT_FALSE(r.maximizeBox);
    EXPECT_TRUE(r.systemMenu);
    EXPECT_EQ(r.owner, form_.handle);
    ASSERT_GE(r.outerWidth, 328);
    EXPECT_EQ(r.left, (801 - r.outerWidth) / 2 + 100);
    EXPECT_EQ(r.top, (600 - r.outerHeight) / 2 + 50);
    // clang-format off
    ExpectControls(r, {
        // text                     left top width height font     px  bold   colour    tab    focus
        {"Auto fire second bank",    54,  16, 217, 17, "Courier New", 15, false, 0x000000, true,  true},
        {"1.<FileName>_Extend.bin",  72,  41, 184, 16, "Courier New", 13, false, 0x0000FF, false, false},
        {"2.<FileName>_Extend.hex",  72,  60, 184, 16, "Courier New", 13, false, 0x0000FF, false, false},
        {"3.DEROredovOrovav.bin",    72,  79, 168, 16, "Courier New", 13, false, 0x0000FF, false, false},
        {"4.DEROredovOrovav.hex",    72,  99, 168, 16, "Courier New", 13, false, 0x0000FF, false, false},
        {"OK",                       69, 123, 177, 33, "Courier New", 15, false, 0x000000, true,  false},
    });
    // clang-format on
}

// About is placed by the window system: wherever the main form is, the position that
// would centre the dialog over it is not applied.
TEST_F(DialogTest, AboutKeepsTheWindowSystemsPlacement) {
    const rtd::ui::ScreenRect owners[] = {{100, 50, 801, 600}, {300, 200, 640, 480}};
    for (const rtd::ui::ScreenRect& owner : owners) {
        SCOPED_TRACE(testing::Message() << "form at " << owner.left << "," << owner.top);
        form_.left = owner.left;
        form_.top = owner.top;
        form_.width = owner.width;
        form_.height = owner.height;
        const Shown shown = Drive(ShowAboutDialog, "", nullptr);
        ASSERT_EQ(shown.calls, 1);
        const DialogReading& r = shown.reading;
        const rtd::ui::ScreenPoint centred = CentredOver(owner, r.outerWidth, r.outerHeight);
        EXPECT_FALSE(r.left == centred.left && r.top == centred.top)
            << "shown at the centred position " << r.left << "," << r.top;
    }
}

TEST_F(DialogTest, CheckBoxChangesTheFlagAtOnceWithoutCancel) {
    struct Case {
        bool before;
        int clicks;
        bool viaOk; // else the title bar's close box
        bool after;
    };
    const Case cases[] = {
        {true, 1, false, false}, {false, 1, true, true},   {false, 2, false, false},
        {true, 0, true, true},   {false, 0, false, false}, {true, 3, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.before << " clicks " << c.clicks);
        IspUnit->AutoFireSecond = c.before;
        bool shownChecked = !c.before;
        std::vector<bool> flagAfterClick;
        const Shown shown = Drive(ShowSetupDialog, "", [&](DialogWindow& w) {
            shownChecked = w.Read().controls.at(rtd::ui::kSetupCheckBox1).checked;
            for (int i = 0; i < c.clicks; ++i) {
                w.Click(rtd::ui::kSetupCheckBox1);
                flagAfterClick.push_back(IspUnit->AutoFireSecond);
            }
            if (c.viaOk)
                w.Click(rtd::ui::kSetupButton1);
            else
                w.CloseFromTitleBar();
        });
        ASSERT_EQ(shown.calls, 1);
        EXPECT_FALSE(shown.openAfterAction);
        EXPECT_EQ(shownChecked, c.before);
        for (size_t i = 0; i < flagAfterClick.size(); ++i)
            EXPECT_EQ(flagAfterClick[i], (c.before != (i % 2 == 0))) << "after click " << i + 1;
        EXPECT_EQ(IspUnit->AutoFireSecond, c.after);
    }
}

TEST_F(DialogTest, FlagReachesTheSettingsFileOnlyAtUnload) {
    IspUnit->AutoFireSecond = false;
    Drive(ShowSetupDialog, "", [](DialogWindow& w) { w.Click(rtd::ui::kSetupCheckBox1); });
    EXPECT_TRUE(IspUnit->AutoFireSecond);
    EXPECT_FALSE(folder_.Has("Torvan.ini"));
    delete IspUnit;
    IspUnit = nullptr;
    EXPECT_EQ(folder_.Read("Torvan.ini"), "[RTD2120CFG]\r\nAUTOFIRESECOND=1\r\n");
}

TEST_F(DialogTest, DialogsStillShowWithoutMainFormOrEngine) {
    IspUnit->SetMainFrm(nullptr);
    for (void (*show)() : {ShowAboutDialog, ShowSetupDialog}) {
        const Shown shown = Drive(show, "", nullptr);
        EXPECT_EQ(shown.calls, 1);
        EXPECT_EQ(shown.reading.owner, 0u);
    }
    delete IspUnit;
    IspUnit = nullptr;
    const Shown shown = Drive(ShowSetupDialog, "", [](DialogWindow& w) {
        w.Click(rtd::ui::kSetupCheckBox1); // nothing to change, nothing to crash
    });
    EXPECT_EQ(shown.calls, 1);
    EXPECT_FALSE(shown.reading.controls.at(rtd::ui::kSetupCheckBox1).checked);
}

// Run by ctest with DISPLAY unset and with DISPLAY naming no server.
TEST(NoDisplay, DialogsReturnWithoutShowingAnything) {
    if (rtd::DialogDisplayAvailable())
        GTEST_SKIP() << "a display is available";
    int shown = 0;
    rtd::SetDialogShownHook([&](DialogWindow& window) {
        ++shown;
        window.Close();
    });
    ShowAboutDialog();
    ShowSetupDialog();
    rtd::SetDialogShownHook(nullptr);
    EXPECT_EQ(shown, 0);
    EXPECT_FALSE(rtd::DialogDisplayAvailable());
}

#if defined(_WIN32)
TEST_F(DialogTest, OwnerTakesNoInputWhileTheDialogIsShown) {
    for (void (*show)() : {ShowAboutDialog, ShowSetupDialog}) {
        bool enabledWhileShown = true;
        Drive(show, "", [&](DialogWindow&) { enabledWhileShown = host_->Enabled(); });
        EXPECT_FALSE(enabledWhileShown);
        EXPECT_TRUE(host_->Enabled());
    }
}
#endif

} // namespace

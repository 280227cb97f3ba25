// Progress reaches the host's form: on Windows as a real posted message to its window,
// dispatched by the pump before PostProgress returns; elsewhere through the form's two
// delivery slots.
#include <gtest/gtest.h>

#if defined(_WIN32)
#include <windows.h>
#endif

#include <vector>

#include "Platform.h"
#include "Recorders.h"

namespace rtd {
namespace {

const int kPercentages[] = {0, 10, 37, 99, 100};

TEST(Progress, NullFormGetsNothing) {
    CurrentPlatform().PostProgress(nullptr, 50);
}

#if defined(_WIN32)

struct Received {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
std::vector<Received> received;

LRESULT CALLBACK RecordingWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == RTD_PROGRESS_MESSAGE || message == WM_USER + 7)
        received.push_back({message, wParam, lParam});
    return DefWindowProcA(window, message, wParam, lParam);
}

// A message-only window: a real window with a queue and a procedure, needing no display.
class ProgressWindow : public ::testing::Test {
protected:
    ProgressWindow() {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = RecordingWindowProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "RtdProgressTest";
        RegisterClassA(&windowClass);
        window = CreateWindowExA(0, "RtdProgressTest", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 windowClass.hInstance, nullptr);
        form.handle = reinterpret_cast<uintptr_t>(window);
        received.clear();
    }
    ~ProgressWindow() override { DestroyWindow(window); }

    HWND window = nullptr;
    test::FakeForm form;
};

TEST_F(ProgressWindow, WindowReceivesEachPercentageBeforeReturn) {
    ASSERT_NE(window, nullptr);
    for (int percent : kPercentages) {
        SCOPED_TRACE(percent);
        received.clear();
        CurrentPlatform().PostProgress(&form, percent);
        ASSERT_EQ(received.size(), 1u);
        EXPECT_EQ(received[0].message, static_cast<UINT>(RTD_PROGRESS_MESSAGE));
        EXPECT_EQ(received[0].wParam, static_cast<WPARAM>(percent));
        EXPECT_EQ(received[0].lParam, 0);
    }
    // The form's own delivery slots are for other systems only.
    EXPECT_TRUE(form.posted.empty());
    EXPECT_EQ(form.processed, 0);
}

TEST_F(ProgressWindow, PumpDispatchesWhatWasAlreadyWaiting) {
    ASSERT_NE(window, nullptr);
    PostMessageA(window, WM_USER + 7, 1, 2);
    CurrentPlatform().PostProgress(&form, 5);
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[0].message, static_cast<UINT>(WM_USER + 7));
    EXPECT_EQ(received[1].message, static_cast<UINT>(RTD_PROGRESS_MESSAGE));
    MSG left;
    EXPECT_FALSE(PeekMessageA(&left, nullptr, 0, 0, PM_NOREMOVE));
}

TEST_F(ProgressWindow, QuitRequestSurvivesThePump) {
    ASSERT_NE(window, nullptr);
    PostQuitMessage(7);
    CurrentPlatform().PostProgress(&form, 20);
    MSG quit;
    ASSERT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 7u);
    // What came after the quit stays for the host's loop.
    CurrentPlatform().PostProgress(&form, 30);
    EXPECT_EQ(received.back().wParam, 30u);
}

#else

TEST(Progress, FormSlotsPostThenProcessOnce) {
    test::FakeForm form;
    for (int percent : kPercentages) {
        SCOPED_TRACE(percent);
        form.posted.clear();
        form.processed = 0;
        CurrentPlatform().PostProgress(&form, percent);
        ASSERT_EQ(form.posted.size(), 1u);
        EXPECT_EQ(form.posted[0].message, static_cast<unsigned>(RTD_PROGRESS_MESSAGE));
        EXPECT_EQ(form.posted[0].wParam, static_cast<uintptr_t>(percent));
        EXPECT_EQ(form.processed, 1);
    }
}

#endif

} // namespace
} // namespace rtd

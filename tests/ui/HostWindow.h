// A real top-level window standing in for the host's main form, so the dialogs have a
// window system owner: an HWND on Windows, an X11 window on Linux.
#ifndef RTD_TESTS_UI_HOSTWINDOW_H
#define RTD_TESTS_UI_HOSTWINDOW_H

#include <cstdint>

namespace rtd::test {

class HostWindow {
public:
    HostWindow(int left, int top, int width, int height);
    ~HostWindow();
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    // 0 when no window could be made (no window system).
    uintptr_t Handle() const { return handle_; }
    // Whether the window takes input (Windows disables it under a modal dialog).
    bool Enabled() const;

private:
    uintptr_t handle_ = 0;
    void* display_ = nullptr;
};

} // namespace rtd::test

#endif

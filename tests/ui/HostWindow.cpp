#include "HostWindow.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <X11/Xlib.h>
#endif

namespace rtd::test {

#if defined(_WIN32)

HostWindow::HostWindow(int left, int top, int width, int height) {
    HWND window =
        CreateWindowExA(0, "STATIC", "Host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, left, top, width,
                        height, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    handle_ = reinterpret_cast<uintptr_t>(window);
}

HostWindow::~HostWindow() {
    if (handle_)
        DestroyWindow(reinterpret_cast<HWND>(handle_));
}

bool HostWindow::Enabled() const {
    return IsWindowEnabled(reinterpret_cast<HWND>(handle_));
}

#else

HostWindow::HostWindow(int left, int top, int width, int height) {
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return;
    display_ = display;
    const Window window =
        XCreateSimpleWindow(display, DefaultRootWindow(display), left, top,
                            static_cast<unsigned>(width), static_cast<unsigned>(height), 0, 0, 0);
    XMapWindow(display, window);
    XSync(display, False);
    handle_ = window;
}

HostWindow::~HostWindow() {
    if (!display_)
        return;
    Display* display = static_cast<Display*>(display_);
    XDestroyWindow(display, static_cast<Window>(handle_));
    XCloseDisplay(display);
}

bool HostWindow::Enabled() const {
    return true;
} // X11 has no disabled windows

#endif

} // namespace rtd::test

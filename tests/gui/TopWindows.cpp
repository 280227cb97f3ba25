#include "TopWindows.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <FL/Fl.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Window.H>
#include <FL/x.H>
#include <X11/Xutil.h>

#include <cstring>

#include "FltkControls.h"
#endif

namespace rtd::test {

#if defined(_WIN32)

namespace {
// The control captioned `text`, its mnemonic's "&" aside: a message box's buttons read
// "&Yes" and "&No".
HWND Control(const std::string& caption, const std::string& text) {
    HWND window = FindWindowA(nullptr, caption.c_str());
    for (HWND c = window ? FindWindowExA(window, nullptr, nullptr, nullptr) : nullptr; c;
         c = FindWindowExA(window, c, nullptr, nullptr)) {
        char label[256] = {};
        GetWindowTextA(c, label, sizeof label);
        std::string plain;
        for (const char* p = label; *p; ++p)
            if (*p != '&')
                plain += *p;
        if (plain == text)
            return c;
    }
    return nullptr;
}
} // namespace

TopWindow FindTopWindow(const std::string& caption) {
    TopWindow found;
    HWND window = FindWindowA(nullptr, caption.c_str());
    if (!window || !IsWindowVisible(window))
        return found;
    RECT r{};
    GetWindowRect(window, &r);
    found = {true,
             r.left,
             r.top,
             r.right - r.left,
             r.bottom - r.top,
             reinterpret_cast<uintptr_t>(GetWindow(window, GW_OWNER))};
    return found;
}

bool ClickInTopWindow(const std::string& caption, const std::string& text) {
    HWND control = Control(caption, text);
    if (control)
        SendMessageA(control, BM_CLICK, 0, 0);
    return control != nullptr;
}

bool CheckedInTopWindow(const std::string& caption, const std::string& text) {
    HWND control = Control(caption, text);
    return control && SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

#else

namespace {
Fl_Window* Window(const std::string& caption) {
    for (Fl_Window* w = Fl::first_window(); w; w = Fl::next_window(w))
        if (w->shown() && w->label() && caption == w->label())
            return w;
    return nullptr;
}

Fl_Widget* Control(const std::string& caption, const std::string& text) {
    Fl_Window* window = Window(caption);
    for (int i = 0; window && i < window->children(); ++i)
        if (window->child(i)->label() && text == window->child(i)->label())
            return window->child(i);
    return nullptr;
}
} // namespace

TopWindow FindTopWindow(const std::string& caption) {
    TopWindow found;
    Fl_Window* window = Window(caption);
    if (!window)
        return found;
    ::Window owner = 0;
    XGetTransientForHint(fl_display, fl_xid(window), &owner);
    found = {true,
             window->x(),
             window->y(),
             window->decorated_w(),
             window->decorated_h(),
             static_cast<uintptr_t>(owner)};
    return found;
}

bool ClickInTopWindow(const std::string& caption, const std::string& text) {
    Fl_Widget* control = Control(caption, text);
    if (control)
        ClickWidget(*control);
    return control != nullptr;
}

bool CheckedInTopWindow(const std::string& caption, const std::string& text) {
    auto* button = dynamic_cast<Fl_Button*>(Control(caption, text));
    return button && button->value() != 0;
}

#endif

} // namespace rtd::test

#include "windows/WindowForm.h"

namespace rtd::host {

namespace {
const char kClassName[] = "RtdIspHostForm";
}

WindowForm::~WindowForm() {
    if (hwnd_)
        DestroyWindow(hwnd_);
}

bool WindowForm::Create(const Frame& frame, bool messageOnlyFallback, std::string* error) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = &WindowForm::Procedure;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClassName;
    if (!RegisterClassA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        *error = "cannot register the main form's window class";
        return false;
    }
    hwnd_ = CreateWindowExA(frame.exStyle, kClassName, frame.caption, frame.style, frame.left,
                            frame.top, frame.width, frame.height, nullptr, nullptr, instance, this);
    if (!hwnd_ && messageOnlyFallback) {
        // Without a display a message-only window still receives posted messages.
        hwnd_ = CreateWindowExA(0, kClassName, frame.caption, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                instance, this);
    }
    if (!hwnd_) {
        *error = "cannot create the main form's window";
        return false;
    }
    return true;
}

void WindowForm::PostWindowMessage(unsigned message, uintptr_t wParam, intptr_t lParam) {
    ::PostMessageA(hwnd_, message, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam));
}

void WindowForm::ProcessMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

LRESULT WindowForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hwnd_, message, wParam, lParam);
}

RECT WindowForm::Rect() const {
    RECT r = {0, 0, 0, 0};
    GetWindowRect(hwnd_, &r);
    return r;
}

LRESULT CALLBACK WindowForm::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        auto* self = static_cast<WindowForm*>(create->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<WindowForm*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        if (self)
            self->hwnd_ = nullptr;
    }
    if (!self)
        return DefWindowProcA(hwnd, message, wParam, lParam);
    if (message == RTD_PROGRESS_MESSAGE) {
        self->DeliverProgress(static_cast<int>(wParam));
        return 0;
    }
    return self->HandleMessage(message, wParam, lParam);
}

// isphost's form: never shown, centred on the screen, so that dialogs centred on the form
// sit in the middle.
std::unique_ptr<HostForm> CreateHostForm(ProgressDisplay display, Trace* trace,
                                         std::string* error) {
    auto form = std::make_unique<WindowForm>(std::move(display), trace);
    const int width = 640, height = 480;
    const WindowForm::Frame frame{"isphost",
                                  WS_OVERLAPPEDWINDOW,
                                  0,
                                  (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                                  (GetSystemMetrics(SM_CYSCREEN) - height) / 2,
                                  width,
                                  height};
    if (!form->Create(frame, true, error))
        return nullptr;
    return form;
}

} // namespace rtd::host

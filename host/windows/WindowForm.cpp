// Main form on Windows: a real window that is never shown. The plug-in posts progress
// message 1025 to its HWND and pumps the thread's queue; the window procedure turns the
// message into progress.
#include <windows.h>

#include "HostForm.h"

namespace rtd::host {

namespace {

const char kClassName[] = "RtdIspHostForm";

class WindowForm : public HostForm {
public:
    using HostForm::HostForm;
    ~WindowForm() override {
        if (hwnd_)
            DestroyWindow(hwnd_);
    }

    bool Create(std::string* error) {
        HINSTANCE instance = GetModuleHandleA(nullptr);
        WNDCLASSA wc = {};
        wc.lpfnWndProc = &WindowForm::Procedure;
        wc.hInstance = instance;
        wc.lpszClassName = kClassName;
        if (!RegisterClassA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
            *error = "cannot register the main form's window class";
            return false;
        }
        // Centred on the screen, so that dialogs centred on the form sit in the middle.
        const int width = 640, height = 480;
        const int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
        const int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
        hwnd_ = CreateWindowExA(0, kClassName, "isphost", WS_OVERLAPPEDWINDOW, left, top, width,
                                height, nullptr, nullptr, instance, this);
        if (!hwnd_) {
            // Without a display a message-only window still receives posted messages.
            hwnd_ = CreateWindowExA(0, kClassName, "isphost", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                    instance, this);
        }
        if (!hwnd_) {
            *error = "cannot create the main form's window";
            return false;
        }
        return true;
    }

    int GetLeft() override { return Rect().left; }
    int GetTop() override { return Rect().top; }
    int GetWidth() override { return Rect().right - Rect().left; }
    int GetHeight() override { return Rect().bottom - Rect().top; }
    uintptr_t GetHandle() override { return reinterpret_cast<uintptr_t>(hwnd_); }

    // Not called by the plug-in on Windows; kept equivalent for other callers.
    void PostWindowMessage(unsigned message, uintptr_t wParam, intptr_t lParam) override {
        ::PostMessageA(hwnd_, message, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam));
    }
    void ProcessMessages() override {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }

private:
    RECT Rect() const {
        RECT r = {0, 0, 0, 0};
        GetWindowRect(hwnd_, &r);
        return r;
    }

    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) {
            const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
            SetWindowLongPtrA(hwnd, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        }
        auto* self = reinterpret_cast<WindowForm*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        if (self && message == RTD_PROGRESS_MESSAGE) {
            self->DeliverProgress(static_cast<int>(wParam));
            return 0;
        }
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }

    HWND hwnd_ = nullptr;
};

} // namespace

std::unique_ptr<HostForm> CreateHostForm(Console* console, Trace* trace, std::string* error) {
    auto form = std::make_unique<WindowForm>(console, trace);
    if (!form->Create(error))
        return nullptr;
    return form;
}

} // namespace rtd::host

// Main form on Windows: a real window. The plug-in posts progress message 1025 to its
// HWND and pumps the thread's queue; the window procedure turns the message into
// progress. isphost's form is never shown; ispgui's main window is a WindowForm too and
// handles its other messages in HandleMessage.
#ifndef RTD_HOST_SESSION_WINDOWS_WINDOWFORM_H
#define RTD_HOST_SESSION_WINDOWS_WINDOWFORM_H

#include <windows.h>

#include "HostForm.h"

namespace rtd::host {

class WindowForm : public HostForm {
public:
    using HostForm::HostForm;
    ~WindowForm() override;
    WindowForm(const WindowForm&) = delete;
    WindowForm& operator=(const WindowForm&) = delete;

    struct Frame {
        const char* caption;
        DWORD style, exStyle;
        int left, top, width, height; // outer rectangle; CW_USEDEFAULT for the system's
    };
    // Makes the window (not shown). False, with a one-line reason, when it cannot; a form
    // that may do without a display falls back to a message-only window.
    bool Create(const Frame& frame, bool messageOnlyFallback, std::string* error);

    int GetLeft() override { return Rect().left; }
    int GetTop() override { return Rect().top; }
    int GetWidth() override { return Rect().right - Rect().left; }
    int GetHeight() override { return Rect().bottom - Rect().top; }
    uintptr_t GetHandle() override { return reinterpret_cast<uintptr_t>(hwnd_); }

    // Not called by the plug-in on Windows; kept equivalent for other callers.
    void PostWindowMessage(unsigned message, uintptr_t wParam, intptr_t lParam) override;
    void ProcessMessages() override;

    HWND Window() const { return hwnd_; }

protected:
    // Every message but progress; the default is the system's handling.
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    RECT Rect() const;
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
};

} // namespace rtd::host

#endif

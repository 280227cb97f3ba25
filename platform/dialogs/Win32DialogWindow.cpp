// The dialog windows on Windows: plain Win32 windows with BUTTON and STATIC controls at
// exact pixel positions, and a modal loop that disables the owner while it runs.
#include <windows.h>

#include <string>

#include "DialogWindow.h"
#include "Win32Controls.h"

namespace rtd {
namespace {

const char* const kClassName = "RTD2120PluginDialog";
const UINT kShownMessage = WM_APP + 1;
const int kFirstControlId = 100; // clear of IDOK/IDCANCEL, which Enter and Escape send

const DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
const DWORD kExStyle = WS_EX_WINDOWEDGE; // a single, fixed border

HINSTANCE ThisModule() {
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&ThisModule), &module);
    return module;
}

class Win32DialogWindow : public DialogWindow {
public:
    Win32DialogWindow(const WindowLayout& dialog, uintptr_t owner, ClickHandler onClick)
        : dialog_(dialog), onClick_(std::move(onClick)) {
        HWND ownerWindow = reinterpret_cast<HWND>(owner);
        owner_ = ownerWindow && IsWindow(ownerWindow) ? ownerWindow : nullptr;
        dpi_ = ScreenDpi();
        RECT outer{0, 0, Scale(dialog.clientWidth), Scale(dialog.clientHeight)};
        AdjustWindowRectEx(&outer, kStyle, FALSE, kExStyle);
        outerWidth_ = outer.right - outer.left;
        outerHeight_ = outer.bottom - outer.top;
        formFont_ = MakeFont(dialog.font, dpi_);
        for (const ControlRow& control : dialog.controls)
            fonts_.push_back(MakeFont(control.font, dpi_));
        buttonFace_ = GetSysColorBrush(COLOR_BTNFACE);
        checked_.assign(dialog.controls.size(), false);
    }

    ~Win32DialogWindow() override {
        Destroy();
        for (HFONT font : fonts_)
            DeleteObject(font);
        DeleteObject(formFont_);
    }

    int OuterWidth() override { return outerWidth_; }
    int OuterHeight() override { return outerHeight_; }
    void SetLeft(int left) override { left_ = left, positioned_ = true; }
    void SetTop(int top) override { top_ = top, positioned_ = true; }

    bool Checked(int control) override {
        if (HWND item = Item(control))
            return SendMessageA(item, BM_GETCHECK, 0, 0) == BST_CHECKED;
        return checked_.at(static_cast<size_t>(control));
    }

    void SetChecked(int control, bool checked) override {
        checked_.at(static_cast<size_t>(control)) = checked;
        if (HWND item = Item(control))
            SendMessageA(item, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    }

    void ShowModal() override {
        if (!Build())
            return;
        if (owner_)
            EnableWindow(owner_, FALSE);
        ShowWindow(window_, SW_SHOWNORMAL);
        FocusFirstTabStop();
        // Paint the controls now, so whoever looks once it is shown sees them drawn.
        RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        PostMessageA(window_, kShownMessage, 0, 0);
        closing_ = false;
        MSG message;
        while (!closing_) {
            const BOOL got = GetMessageA(&message, nullptr, 0, 0);
            if (got == 0) { // WM_QUIT: leave it for the host's own loop
                PostQuitMessage(static_cast<int>(message.wParam));
                break;
            }
            if (got < 0)
                break;
            if (!IsDialogMessageA(window_, &message)) {
                TranslateMessage(&message);
                DispatchMessageA(&message);
            }
        }
        // Enable the owner before the window goes, so activation returns to it.
        if (owner_)
            EnableWindow(owner_, TRUE);
        Destroy();
    }

    void Close() override { closing_ = true; }
    bool Open() override { return window_ && !closing_; }

    DialogReading Read() override {
        DialogReading reading;
        if (!window_)
            return reading;
        ReadWindowFrame(window_, reading);
        const LONG style = GetWindowLongA(window_, GWL_STYLE);
        reading.resizable = (style & WS_THICKFRAME) != 0;
        reading.minimizeBox = (style & WS_MINIMIZEBOX) != 0;
        reading.maximizeBox = (style & WS_MAXIMIZEBOX) != 0;
        reading.systemMenu = (style & WS_SYSMENU) != 0;
        reading.owner = reinterpret_cast<uintptr_t>(GetWindow(window_, GW_OWNER));
        reading.ownerEnabled = owner_ ? IsWindowEnabled(owner_) != FALSE : true;

        HDC dc = GetDC(window_);
        reading.background = FromColorRef(GetSysColor(COLOR_BTNFACE));
        for (size_t i = 0; i < dialog_.controls.size(); ++i)
            reading.controls.push_back(ReadControl(static_cast<int>(i), dc));
        ReleaseDC(window_, dc);
        return reading;
    }

    void Click(int control) override {
        // BM_CLICK does what a mouse click does: an automatic check box flips, then the
        // parent gets BN_CLICKED.
        if (HWND item = Item(control))
            SendMessageA(item, BM_CLICK, 0, 0);
    }

    void CloseFromTitleBar() override {
        if (window_)
            SendMessageA(window_, WM_SYSCOMMAND, SC_CLOSE, 0);
    }

private:
    bool Build() {
        instance_ = ThisModule();
        WNDCLASSEXA windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = &Win32DialogWindow::Procedure;
        windowClass.hInstance = instance_;
        windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.lpszClassName = kClassName;
        // Registered for each dialog and removed after it: a class left behind would
        // point into this module after the host unloads it.
        registered_ = RegisterClassExA(&windowClass) != 0;

        const bool place = positioned_ && !dialog_.systemPlacement;
        window_ = CreateWindowExA(kExStyle, kClassName, dialog_.caption, kStyle,
                                  place ? left_ : CW_USEDEFAULT, place ? top_ : CW_USEDEFAULT,
                                  outerWidth_, outerHeight_, owner_, nullptr, instance_, this);
        if (!window_)
            return false;
        SendMessageA(window_, WM_SETFONT, reinterpret_cast<WPARAM>(formFont_), FALSE);
        for (size_t i = 0; i < dialog_.controls.size(); ++i)
            BuildControl(dialog_.controls[i], static_cast<int>(i));
        return true;
    }

    void BuildControl(const ControlRow& control, int index) {
        HWND item = rtd::BuildControl(control, window_, kFirstControlId + index, dpi_,
                                      fonts_[static_cast<size_t>(index)], instance_);
        if (item && control.kind == ControlKind::CheckBox && checked_[static_cast<size_t>(index)])
            SendMessageA(item, BM_SETCHECK, BST_CHECKED, 0);
    }

    int Scale(int pixels) const { return ScaleToDpi(pixels, dpi_); }

    // The keyboard starts on the control that comes first in tab order.
    void FocusFirstTabStop() {
        const int first = FirstTabStop(dialog_);
        if (first >= 0)
            SetFocus(Item(first));
    }

    HWND Item(int control) {
        return window_ ? GetDlgItem(window_, kFirstControlId + control) : nullptr;
    }

    ControlReading ReadControl(int control, HDC dc) {
        ControlReading reading;
        HWND item = Item(control);
        if (!item)
            return reading;
        reading.text = WindowText(item);
        RECT bounds{};
        GetWindowRect(item, &bounds);
        MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&bounds), 2);
        reading.left = bounds.left;
        reading.top = bounds.top;
        reading.width = bounds.right - bounds.left;
        reading.height = bounds.bottom - bounds.top;
        LOGFONTA font{};
        if (HFONT handle = reinterpret_cast<HFONT>(SendMessageA(item, WM_GETFONT, 0, 0)))
            GetObjectA(handle, sizeof font, &font);
        reading.fontFace = font.lfFaceName;
        reading.fontHeight = font.lfHeight < 0 ? -font.lfHeight : font.lfHeight;
        reading.bold = font.lfWeight >= FW_BOLD;
        // Ask the window procedure for the colours it paints the control with.
        SendMessageA(window_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                     reinterpret_cast<LPARAM>(item));
        reading.colour = FromColorRef(GetTextColor(dc));
        reading.checked = SendMessageA(item, BM_GETCHECK, 0, 0) == BST_CHECKED;
        reading.tabStop = (GetWindowLongA(item, GWL_STYLE) & WS_TABSTOP) != 0;
        reading.focused = GetFocus() == item;
        return reading;
    }

    void Destroy() {
        if (window_) {
            DestroyWindow(window_);
            window_ = nullptr;
        }
        if (registered_) {
            UnregisterClassA(kClassName, instance_);
            registered_ = false;
        }
    }

    bool IsControl(int control) const {
        return control >= 0 && control < static_cast<int>(dialog_.controls.size());
    }

    LRESULT Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        switch (message) {
        case WM_COMMAND: {
            const int control = LOWORD(wParam) - kFirstControlId;
            if (HIWORD(wParam) != BN_CLICKED || !IsControl(control))
                return 0;
            // Kept so the state can still be asked for after the window is gone.
            checked_[static_cast<size_t>(control)] =
                SendMessageA(reinterpret_cast<HWND>(lParam), BM_GETCHECK, 0, 0) == BST_CHECKED;
            if (onClick_)
                onClick_(control);
            return 0;
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN: {
            HDC dc = reinterpret_cast<HDC>(wParam);
            const int control = GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) - kFirstControlId;
            if (IsControl(control))
                SetTextColor(
                    dc, ToColorRef(dialog_.controls[static_cast<size_t>(control)].font.colour));
            SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
            return reinterpret_cast<LRESULT>(buttonFace_);
        }
        case kShownMessage:
            NotifyDialogShown(*this);
            return 0;
        case WM_CLOSE: // the title bar's close box
            Close();
            return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }

    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) {
            auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
            auto* self = static_cast<Win32DialogWindow*>(create->lpCreateParams);
            self->window_ = window;
            SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        }
        auto* self = reinterpret_cast<Win32DialogWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (message == WM_NCDESTROY)
            SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        if (!self)
            return DefWindowProcA(window, message, wParam, lParam);
        return self->Handle(window, message, wParam, lParam);
    }

    const WindowLayout& dialog_;
    ClickHandler onClick_;
    HWND owner_ = nullptr;
    HWND window_ = nullptr;
    HINSTANCE instance_ = nullptr;
    bool registered_ = false;
    bool closing_ = false;
    int outerWidth_ = 0, outerHeight_ = 0;
    int left_ = 0, top_ = 0;
    bool positioned_ = false;
    int dpi_ = 96;
    HFONT formFont_ = nullptr;
    std::vector<HFONT> fonts_; // one per control, in table order
    std::vector<bool> checked_;
    HBRUSH buttonFace_ = nullptr;
};

} // namespace

std::unique_ptr<DialogWindow> DialogWindow::Create(const WindowLayout& dialog, uintptr_t owner,
                                                   ClickHandler onClick) {
    return std::make_unique<Win32DialogWindow>(dialog, owner, std::move(onClick));
}

bool DialogDisplayAvailable() {
    return true;
}

} // namespace rtd

// ispgui's main window on Windows: the main form's own window (a WindowForm, whose window
// procedure receives the plug-in's progress message) with plain Win32 controls at the
// layout's pixel positions.
#include <windows.h>

#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>

#include <map>
#include <vector>

#include "GuiView.h"
#include "Win32Controls.h"
#include "windows/WindowForm.h"

namespace rtd::gui {
namespace {

const int kFirstControlId = 100; // clear of IDOK/IDCANCEL, which Enter and Escape send
const WORD kWriteAgainId = 90;   // the F5 accelerator's command
const UINT kFileDialogShown = WM_APP + 1;
const DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
const DWORD kExStyle = WS_EX_ACCEPTFILES;

// Identifiers of the common file dialog's filter list and name field.
const int kFilterComboId = 0x470; // cmb1
const int kNameComboId = 0x47C;   // cmb13
const int kNameEditId = 0x480;    // edt1

// After's tasks until they run, by timer, with the window they were meant for.
struct Task {
    const void* view;
    std::function<void()> run;
};
std::map<UINT_PTR, Task>& Tasks() {
    static std::map<UINT_PTR, Task> tasks;
    return tasks;
}

void CALLBACK RunTask(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    auto it = Tasks().find(id);
    if (it == Tasks().end())
        return;
    const std::function<void()> task = std::move(it->second.run);
    Tasks().erase(it);
    task();
}

// A task that has not run yet dies with the window it was meant for.
void DropTasks(const void* view) {
    for (auto it = Tasks().begin(); it != Tasks().end();) {
        if (it->second.view == view) {
            KillTimer(nullptr, it->first);
            it = Tasks().erase(it);
        } else {
            ++it;
        }
    }
}

// The common file dialog while it is shown; `dialog` is the dialog window itself.
class Win32FileDialog : public FileDialog {
public:
    explicit Win32FileDialog(HWND dialog) : dialog_(dialog) {}

    std::vector<std::string> FilterChoices() override {
        std::vector<std::string> choices;
        HWND combo = GetDlgItem(dialog_, kFilterComboId);
        const LRESULT count = combo ? SendMessageA(combo, CB_GETCOUNT, 0, 0) : 0;
        for (LRESULT i = 0; i < count; ++i) {
            const LRESULT length = SendMessageA(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
            std::vector<char> text(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
            SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(i),
                         reinterpret_cast<LPARAM>(text.data()));
            choices.push_back(text.data());
        }
        return choices;
    }

    std::vector<std::string> ListedNames() override {
        std::vector<std::string> names;
        HWND view = FindWindowExA(dialog_, nullptr, "SHELLDLL_DefView", nullptr);
        HWND list = view ? FindWindowExA(view, nullptr, WC_LISTVIEWA, nullptr) : nullptr;
        const LRESULT count = list ? SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) : 0;
        for (LRESULT i = 0; i < count; ++i) {
            char text[MAX_PATH] = {};
            LVITEMA item{};
            item.iSubItem = 0;
            item.pszText = text;
            item.cchTextMax = sizeof text;
            SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(i),
                         reinterpret_cast<LPARAM>(&item));
            names.push_back(text);
        }
        return names;
    }

    void Choose(const std::string& path) override {
        SendMessageA(dialog_, CDM_SETCONTROLTEXT,
                     GetDlgItem(dialog_, kNameComboId) ? kNameComboId : kNameEditId,
                     reinterpret_cast<LPARAM>(path.c_str()));
        PostMessageA(dialog_, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog_, IDOK)));
    }

    void Cancel() override {
        PostMessageA(dialog_, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog_, IDCANCEL)));
    }

private:
    HWND dialog_;
};

// The file dialog's hook: once the dialog is up, tests may drive it.
UINT_PTR CALLBACK FileDialogHook(HWND hook, UINT message, WPARAM, LPARAM lParam) {
    if (message == WM_NOTIFY &&
        reinterpret_cast<const OFNOTIFYA*>(lParam)->hdr.code == CDN_INITDONE) {
        PostMessageA(hook, kFileDialogShown, 0, 0);
    } else if (message == kFileDialogShown) {
        Win32FileDialog dialog(GetParent(hook));
        NotifyFileDialogShown(dialog);
    }
    return 0;
}

class Win32GuiView : public host::WindowForm, public GuiView {
public:
    Win32GuiView(const WindowLayout& layout, GuiEvents* events, host::Trace* trace)
        : WindowForm([this](int percent) { ShowProgress(percent); }, trace), layout_(layout),
          events_(events) {}

    ~Win32GuiView() override {
        DropTasks(this);
        if (Window())
            DestroyWindow(Window()); // while this object can still take its messages
        if (accelerators_)
            DestroyAcceleratorTable(accelerators_);
        for (HFONT font : fonts_)
            DeleteObject(font);
        if (stripBrush_)
            DeleteObject(stripBrush_);
    }

    bool Build(const std::string& caption, std::string* error) {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS | ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&controls);
        dpi_ = ScreenDpi();
        RECT outer{0, 0, Scale(layout_.clientWidth), Scale(layout_.clientHeight)};
        AdjustWindowRectEx(&outer, kStyle, FALSE, kExStyle);
        const Frame frame{caption.c_str(),         kStyle,        kExStyle,
                          CW_USEDEFAULT,           CW_USEDEFAULT, outer.right - outer.left,
                          outer.bottom - outer.top};
        if (!WindowForm::Create(frame, false, error))
            return false;
        for (size_t i = 0; i < layout_.controls.size(); ++i) {
            fonts_.push_back(MakeFont(layout_.controls[i].font, dpi_));
            BuildControl(layout_.controls[i], Window(), kFirstControlId + static_cast<int>(i), dpi_,
                         fonts_.back(), GetModuleHandleA(nullptr));
        }
        Unthemed(Item(kProgressBar));
        DragAcceptFiles(Window(), TRUE);
        ACCEL writeAgain{FVIRTKEY, VK_F5, kWriteAgainId};
        accelerators_ = CreateAcceleratorTableA(&writeAgain, 1);
        SetResult(ResultTone::Neutral, "");
        return true;
    }

    TForm* Form() override { return this; }

    void Show(const WindowPlace* place) override {
        if (place) {
            RECT area{};
            const POINT corner{place->left, place->top};
            MONITORINFO monitor{};
            monitor.cbSize = sizeof monitor;
            if (GetMonitorInfoA(MonitorFromPoint(corner, MONITOR_DEFAULTTONEAREST), &monitor))
                area = monitor.rcWork;
            else
                SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
            const WindowPlace at = KeepOnScreen(
                *place, GetWidth(), GetHeight(),
                ScreenArea{area.left, area.top, area.right - area.left, area.bottom - area.top});
            SetWindowPos(Window(), nullptr, at.left, at.top, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        ShowWindow(Window(), SW_SHOWNORMAL);
        SetFocus(Item(kFileEdit));
        Flush();
    }

    void Run() override {
        MSG message;
        while (!closing_) {
            const BOOL got = GetMessageA(&message, nullptr, 0, 0);
            if (got <= 0)
                break;
            Dispatch(message);
        }
    }

    void Close() override {
        closing_ = true;
        ShowWindow(Window(), SW_HIDE);
    }

    bool IsOpen() override { return !closing_ && IsWindowVisible(Window()); }
    WindowPlace Place() override { return {GetLeft(), GetTop()}; }

    void SetText(int control, const std::string& text) override {
        SetWindowTextA(Item(control), text.c_str());
    }

    std::string Text(int control) override { return WindowText(Item(control)); }

    void SetShown(int control, bool shown) override {
        ShowWindow(Item(control), shown ? SW_SHOWNA : SW_HIDE);
    }

    void SetEnabled(int control, bool enabled) override {
        EnableWindow(Item(control), enabled ? TRUE : FALSE);
    }

    void Focus(int control) override { SetFocus(Item(control)); }

    void SetChoices(const std::vector<std::string>& items, int chosen) override {
        HWND combo = Item(kBusChoice);
        SendMessageA(combo, CB_RESETCONTENT, 0, 0);
        for (const std::string& item : items)
            SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
        SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(chosen), 0);
    }

    int Chosen() override {
        return static_cast<int>(SendMessageA(Item(kBusChoice), CB_GETCURSEL, 0, 0));
    }

    void AddLine(const std::string& line) override {
        HWND list = Item(kMessageList);
        const LRESULT at =
            SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
        SendMessageA(list, LB_SETTOPINDEX, static_cast<WPARAM>(at), 0);
    }

    void ClearLines() override { SendMessageA(Item(kMessageList), LB_RESETCONTENT, 0, 0); }

    void SetProgress(int percent) override {
        SendMessageA(Item(kProgressBar), PBM_SETPOS, static_cast<WPARAM>(percent), 0);
    }

    void SetProgressTone(ResultTone tone) override {
        // CLR_DEFAULT: the bar's own colour.
        const COLORREF fill =
            tone == ResultTone::Failed ? ToColorRef(ResultColour(tone, 0)) : CLR_DEFAULT;
        SendMessageA(Item(kProgressBar), PBM_SETBARCOLOR, 0, static_cast<LPARAM>(fill));
        progressFailed_ = tone == ResultTone::Failed;
    }

    void CentreOwnedWindows() override {
        EnumThreadWindows(GetCurrentThreadId(), CentreIfOwned, reinterpret_cast<LPARAM>(Window()));
    }

    bool Confirm(const std::string& title, const std::string& question) override {
        return MessageBoxA(Window(), question.c_str(), title.c_str(),
                           MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
    }

    void SetResult(ResultTone tone, const std::string& text) override {
        tone_ = tone;
        if (stripBrush_)
            DeleteObject(stripBrush_);
        stripBrush_ = CreateSolidBrush(ToColorRef(StripColour()));
        SetWindowTextA(Item(kResultStrip), text.c_str());
        InvalidateRect(Item(kResultStrip), nullptr, TRUE);
    }

    std::string ChooseFile(const std::vector<FilterEntry>& filter,
                           const std::string& current) override {
        const std::string filterText = Win32Filter(filter);
        std::vector<char> path(32768, '\0');
        current.copy(path.data(), path.size() - 1);
        OPENFILENAMEA ofn{};
        ofn.lStructSize = sizeof ofn;
        ofn.hwndOwner = Window();
        ofn.lpstrFilter = filterText.empty() ? nullptr : filterText.c_str();
        ofn.lpstrFile = path.data();
        ofn.nMaxFile = static_cast<DWORD>(path.size());
        ofn.lpstrTitle = "Firmware file";
        ofn.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY |
                    OFN_ENABLEHOOK | OFN_ENABLESIZING;
        ofn.lpfnHook = FileDialogHook;
        return GetOpenFileNameA(&ofn) ? std::string(path.data()) : std::string();
    }

    void Flush() override {
        RedrawWindow(Window(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        GdiFlush();
        // Looking at the queue (taking nothing) lets a display driver that batches its
        // drawing (wine's X11 driver) send it out now.
        MSG message;
        PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
    }

    GuiReading Read() override {
        GuiReading reading;
        ReadWindowFrame(Window(), reading);
        reading.open = IsOpen();
        for (size_t i = 0; i < layout_.controls.size(); ++i) {
            HWND item = Item(static_cast<int>(i));
            GuiControlReading control;
            control.text = WindowText(item);
            control.shown = (GetWindowLongA(item, GWL_STYLE) & WS_VISIBLE) != 0;
            control.enabled = IsWindowEnabled(item) != FALSE;
            RECT bounds{};
            GetWindowRect(item, &bounds);
            MapWindowPoints(nullptr, Window(), reinterpret_cast<POINT*>(&bounds), 2);
            control.left = bounds.left;
            control.top = bounds.top;
            control.width = bounds.right - bounds.left;
            control.height = bounds.bottom - bounds.top;
            reading.controls.push_back(control);
        }
        HWND list = Item(kMessageList);
        const LRESULT lines = SendMessageA(list, LB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < lines; ++i)
            reading.lines.push_back(ItemText(list, LB_GETTEXTLEN, LB_GETTEXT, i));
        reading.progress = static_cast<int>(SendMessageA(Item(kProgressBar), PBM_GETPOS, 0, 0));
        HWND combo = Item(kBusChoice);
        const LRESULT items = SendMessageA(combo, CB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < items; ++i)
            reading.choices.push_back(ItemText(combo, CB_GETLBTEXTLEN, CB_GETLBTEXT, i));
        reading.chosen = Chosen();
        // Ask the window procedure for the colour it paints the strip with.
        HDC dc = GetDC(Window());
        SendMessageA(Window(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                     reinterpret_cast<LPARAM>(Item(kResultStrip)));
        reading.resultColour = FromColorRef(GetBkColor(dc));
        HWND strip = Item(kResultStrip);
        RECT box{};
        GetClientRect(strip, &box);
        const std::string text = Text(kResultStrip);
        HGDIOBJ old =
            SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(strip, WM_GETFONT, 0, 0)));
        DrawTextA(dc, text.c_str(), -1, &box,
                  DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL);
        SelectObject(dc, old);
        reading.resultTextWidth = box.right - box.left;
        reading.resultTextHeight = box.bottom - box.top;
        // The bar keeps no colour that can be read back before comctl32 6: the one set.
        reading.progressColour = BarColour(reading.progress);
        ReleaseDC(Window(), dc);
        reading.acceptsDrops = (GetWindowLongA(Window(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES) != 0;
        return reading;
    }

    void Click(int control) override {
        // The window system routes no pointer input to a hidden or disabled control.
        HWND item = Item(control);
        if (IsWindowVisible(item) && IsWindowEnabled(item))
            SendMessageA(item, BM_CLICK, 0, 0);
    }

    void ClickQueued(int control) override {
        PostMessageA(Window(), WM_COMMAND, MAKEWPARAM(kFirstControlId + control, BN_CLICKED),
                     reinterpret_cast<LPARAM>(Item(control)));
    }

    void Type(int control, const std::string& text) override {
        HWND item = Item(control);
        if (!IsWindowVisible(item) || !IsWindowEnabled(item))
            return;
        SetFocus(item);
        SendMessageA(item, EM_SETSEL, 0, -1);
        SendMessageA(item, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
    }

    void Choose(int item) override {
        HWND combo = Item(kBusChoice);
        if (IsWindowVisible(combo) && IsWindowEnabled(combo))
            SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(item), 0);
    }

    void PressWriteAgainKey() override {
        HWND focus = GetFocus();
        PostMessageA(focus ? focus : Window(), WM_KEYDOWN, VK_F5, 1);
        PostMessageA(focus ? focus : Window(), WM_KEYUP, VK_F5, 0xC0000001);
        DispatchPending();
    }

    void Drop(const std::string& path) override {
        // What the shell hands a window that accepts files: a DROPFILES block.
        HGLOBAL block = GlobalAlloc(GHND, sizeof(DROPFILES) + path.size() + 2);
        if (!block)
            return;
        auto* drop = static_cast<DROPFILES*>(GlobalLock(block));
        drop->pFiles = sizeof(DROPFILES);
        drop->fWide = FALSE;
        path.copy(reinterpret_cast<char*>(drop + 1), path.size());
        GlobalUnlock(block);
        SendMessageA(Window(), WM_DROPFILES, reinterpret_cast<WPARAM>(block), 0);
    }

    void CloseFromTitleBar() override { SendMessageA(Window(), WM_SYSCOMMAND, SC_CLOSE, 0); }

    void After(int ms, std::function<void()> task) override {
        const UINT_PTR id = SetTimer(nullptr, 0, static_cast<UINT>(ms), RunTask);
        if (id)
            Tasks()[id] = Task{this, std::move(task)};
    }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case WM_COMMAND: {
            const int control = LOWORD(wParam) - kFirstControlId;
            if (LOWORD(wParam) == kWriteAgainId && HIWORD(wParam) == 1)
                events_->WriteAgainPressed();
            else if (HIWORD(wParam) == BN_CLICKED && IsControl(control) &&
                     layout_.controls[static_cast<size_t>(control)].kind == ControlKind::Button)
                events_->Clicked(control);
            return 0;
        }
        case WM_CTLCOLORSTATIC:
            if (reinterpret_cast<HWND>(lParam) == Item(kResultStrip)) {
                HDC dc = reinterpret_cast<HDC>(wParam);
                SetBkColor(dc, ToColorRef(StripColour()));
                SetTextColor(dc, ToColorRef(ResultTextColour(tone_)));
                return reinterpret_cast<LRESULT>(stripBrush_);
            }
            break;
        case WM_DROPFILES: {
            HDROP drop = reinterpret_cast<HDROP>(wParam);
            char path[32768] = {};
            const UINT length = DragQueryFileA(drop, 0, path, sizeof path);
            DragFinish(drop);
            if (length > 0)
                events_->FileDropped(std::string(path, length));
            return 0;
        }
        case WM_CLOSE: // the title bar's close box; the programmer decides
            events_->CloseRequested();
            return 0;
        }
        return WindowForm::HandleMessage(message, wParam, lParam);
    }

private:
    // One message as the loop handles it: F5, then tab and arrow keys between controls.
    void Dispatch(MSG& message) {
        if (TranslateAcceleratorA(Window(), accelerators_, &message))
            return;
        if (IsDialogMessageA(Window(), &message))
            return;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }

    void DispatchPending() {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            Dispatch(message);
    }

    std::string ItemText(HWND control, UINT lengthMessage, UINT textMessage, LRESULT index) {
        const LRESULT length = SendMessageA(control, lengthMessage, static_cast<WPARAM>(index), 0);
        std::vector<char> text(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
        SendMessageA(control, textMessage, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(text.data()));
        return text.data();
    }

    uint32_t StripColour() const {
        return ResultColour(tone_, FromColorRef(GetSysColor(COLOR_BTNFACE)));
    }

    void ShowProgress(int percent) {
        SetProgress(percent);
        NotifyProgress(*this, percent);
    }

    int Scale(int pixels) const { return ScaleToDpi(pixels, dpi_); }
    bool IsControl(int control) const {
        return control >= 0 && control < static_cast<int>(layout_.controls.size());
    }
    // The bar's fill as drawn, read inside its filled part; with nothing filled, the colour
    // it was given (the bar keeps none that can be read back before comctl32 6).
    uint32_t BarColour(int progress) {
        if (progress <= 0)
            return progressFailed_ ? ResultColour(ResultTone::Failed, 0) : 0;
        HWND bar = Item(kProgressBar);
        UpdateWindow(bar); // a colour just given is drawn first
        RECT box{};
        GetClientRect(bar, &box);
        HDC dc = GetDC(bar);
        const COLORREF drawn = GetPixel(dc, box.left + 4, (box.top + box.bottom) / 2);
        ReleaseDC(bar, dc);
        return FromColorRef(drawn);
    }

    // Only a bar drawn without visual styles (which wine's default theme applies too) takes
    // the colour PBM_SETBARCOLOR gives it. uxtheme.dll is looked up, not imported: a
    // system without it draws every bar unthemed. A class list of " " names no class of
    // the theme (an empty one would stand for the default).
    static void Unthemed(HWND control) {
        using SetWindowThemeFn = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
        HMODULE uxtheme = LoadLibraryA("uxtheme.dll");
        FARPROC found = uxtheme ? GetProcAddress(uxtheme, "SetWindowTheme") : nullptr;
        if (found)
            reinterpret_cast<SetWindowThemeFn>(reinterpret_cast<void (*)()>(found))(control, L" ",
                                                                                    L" ");
        // Unthemed, the bar has no outline of its own: an empty one would not show.
        SetWindowLongA(control, GWL_EXSTYLE,
                       GetWindowLongA(control, GWL_EXSTYLE) | WS_EX_STATICEDGE);
        SetWindowPos(control, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }

    static BOOL CALLBACK CentreIfOwned(HWND window, LPARAM ownerParam) {
        const HWND owner = reinterpret_cast<HWND>(ownerParam);
        RECT o{}, d{};
        if (GetWindow(window, GW_OWNER) != owner || !IsWindowVisible(window) ||
            !GetWindowRect(owner, &o) || !GetWindowRect(window, &d))
            return TRUE;
        SetWindowPos(window, nullptr, ((o.right - o.left) - (d.right - d.left)) / 2 + o.left,
                     ((o.bottom - o.top) - (d.bottom - d.top)) / 2 + o.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return TRUE;
    }

    HWND Item(int control) const { return GetDlgItem(Window(), kFirstControlId + control); }

    const WindowLayout& layout_;
    GuiEvents* events_;
    int dpi_ = 96;
    std::vector<HFONT> fonts_;
    HACCEL accelerators_ = nullptr;
    ResultTone tone_ = ResultTone::Neutral;
    bool progressFailed_ = false;
    HBRUSH stripBrush_ = nullptr;
    bool closing_ = false;
};

} // namespace

std::unique_ptr<GuiView> GuiView::Create(const WindowLayout& layout, const std::string& caption,
                                         GuiEvents* events, host::Trace* trace,
                                         std::string* error) {
    auto view = std::make_unique<Win32GuiView>(layout, events, trace);
    if (!view->Build(caption, error))
        return nullptr;
    return view;
}

void ShowStartupMessage(const std::string& text, bool error) {
    // A window program has standard handles only when its starter gave it some.
    HANDLE out = GetStdHandle(error ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
    DWORD written = 0;
    const std::string line = text.empty() || text.back() != '\n' ? text + "\n" : text;
    if (out && out != INVALID_HANDLE_VALUE &&
        WriteFile(out, line.data(), static_cast<DWORD>(line.size()), &written, nullptr))
        return;
    MessageBoxA(nullptr, text.c_str(), "ispgui", error ? MB_ICONERROR | MB_OK : MB_OK);
}

} // namespace rtd::gui

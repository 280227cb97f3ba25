#include "Win32Controls.h"

#include <commctrl.h>

#include <vector>

namespace rtd {

COLORREF ToColorRef(uint32_t rgb) {
    return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

uint32_t FromColorRef(COLORREF colour) {
    return static_cast<uint32_t>(GetRValue(colour)) << 16 |
           static_cast<uint32_t>(GetGValue(colour)) << 8 | GetBValue(colour);
}

int ScreenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen)
        ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

int ScaleToDpi(int pixels, int dpi) {
    return MulDiv(pixels, dpi, 96);
}

HFONT MakeFont(const FontStyle& font, int dpi) {
    // A negative height asks for the character height rather than the cell height.
    return CreateFontA(-ScaleToDpi(font.pixelHeight, dpi), 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL,
                       FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                       font.face);
}

std::string WindowText(HWND window) {
    const int length = GetWindowTextLengthA(window);
    std::vector<char> text(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
    GetWindowTextA(window, text.data(), static_cast<int>(text.size()));
    return text.data();
}

HWND BuildControl(const ControlRow& c, HWND parent, int id, int dpi, HFONT font,
                  HINSTANCE instance) {
    const char* windowClass = "STATIC";
    DWORD style = WS_CHILD | WS_VISIBLE;
    DWORD exStyle = 0;
    int height = c.height;
    switch (c.kind) {
    case ControlKind::Label:
        style |= SS_LEFTNOWORDWRAP | SS_NOPREFIX; // one line, as designed
        break;
    case ControlKind::Button:
        windowClass = "BUTTON";
        style |= BS_PUSHBUTTON;
        break;
    case ControlKind::CheckBox:
        windowClass = "BUTTON";
        style |= BS_AUTOCHECKBOX;
        break;
    case ControlKind::Edit:
        windowClass = "EDIT";
        style |= ES_AUTOHSCROLL;
        exStyle = WS_EX_CLIENTEDGE;
        break;
    case ControlKind::Choice:
        windowClass = "COMBOBOX";
        style |= CBS_DROPDOWNLIST | WS_VSCROLL;
        height = c.height * 8; // a combo box's height includes its dropped-down list
        break;
    case ControlKind::List:
        windowClass = "LISTBOX";
        style |= LBS_NOINTEGRALHEIGHT | LBS_NOSEL | WS_VSCROLL;
        exStyle = WS_EX_CLIENTEDGE;
        break;
    case ControlKind::ProgressBar:
        windowClass = PROGRESS_CLASSA;
        style |= PBS_SMOOTH;
        break;
    case ControlKind::ResultStrip:
        // Word-wrapped over as many lines as the text needs: a message is shown whole.
        style |= SS_LEFT | SS_NOPREFIX | SS_EDITCONTROL;
        break;
    }
    if (c.tabOrder >= 0)
        style |= WS_TABSTOP;
    HWND item = CreateWindowExA(
        exStyle, windowClass, c.text ? c.text : "", style, ScaleToDpi(c.left, dpi),
        ScaleToDpi(c.top, dpi), ScaleToDpi(c.width, dpi), ScaleToDpi(height, dpi), parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    if (item)
        SendMessageA(item, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (item && c.kind == ControlKind::ProgressBar)
        SendMessageA(item, PBM_SETRANGE32, 0, 100);
    return item;
}

} // namespace rtd

// Win32 controls, colours and fonts from a window layout's control table.
#ifndef RTD_PLATFORM_DIALOGS_WIN32CONTROLS_H
#define RTD_PLATFORM_DIALOGS_WIN32CONTROLS_H

#include <windows.h>

#include <string>

#include "WindowLayout.h"

namespace rtd {

COLORREF ToColorRef(uint32_t rgb);
uint32_t FromColorRef(COLORREF colour);
// Pixels per inch of the screen. The layouts are designed at 96; on a denser screen (for
// a process that is aware of it) every size grows in proportion.
int ScreenDpi();
// `pixels` at 96 pixels per inch, on a screen of `dpi`.
int ScaleToDpi(int pixels, int dpi);
HFONT MakeFont(const FontStyle& font, int dpi);
std::string WindowText(HWND window);

// The caption, outer rectangle and client size of a top-level window, into any reading
// with those fields.
template <typename Reading> void ReadWindowFrame(HWND window, Reading& reading) {
    reading.caption = WindowText(window);
    RECT outer{}, client{};
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    reading.left = outer.left;
    reading.top = outer.top;
    reading.outerWidth = outer.right - outer.left;
    reading.outerHeight = outer.bottom - outer.top;
    reading.clientWidth = client.right;
    reading.clientHeight = client.bottom;
}

// The control as a child of `parent` with command id `id`, at the layout's position and
// size scaled to `dpi`, drawing with `font` (which the caller keeps until the control is
// gone). A control that is a tab stop gets WS_TABSTOP.
HWND BuildControl(const ControlRow& control, HWND parent, int id, int dpi, HFONT font,
                  HINSTANCE instance);

} // namespace rtd

#endif

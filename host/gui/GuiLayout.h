// ispgui's main window as one layout table, of the same form as the plug-in's dialogs':
// both window back ends (FLTK, Win32) build from it.
#ifndef RTD_HOST_GUI_GUILAYOUT_H
#define RTD_HOST_GUI_GUILAYOUT_H

#include "WindowLayout.h"

namespace rtd::gui {

// Control indexes: the table's rows, in order.
enum GuiControl {
    kFileLabel,
    kFileEdit,
    kBrowseButton,
    kBusLabel,
    kBusChoice,
    kWriteButton,
    kVerifyButton,
    kEraseButton,
    kResetButton,
    kExtFuncButton,
    kSetupButton,
    kAboutButton,
    kMessageList,
    kProgressBar,
    kResultStrip,
    kGuiControlCount
};

// The caption comes from the plug-in ("<MCU> programmer"), and so does the extra
// function's button text.
const WindowLayout& MainWindowLayout();

enum class ResultTone { Neutral, Ok, Failed };

// The result strip's background (0xRRGGBB): green, red, or the window's own `neutral`.
uint32_t ResultColour(ResultTone tone, uint32_t neutral);
// Its text colour: white on green or red, window text otherwise.
uint32_t ResultTextColour(ResultTone tone);

// Where a window is: the outer left and top edges in screen pixels.
struct WindowPlace {
    int left = 0, top = 0;
};

struct ScreenArea {
    int left, top, width, height;
};

// `place` moved as little as needed to put a `width` x `height` window inside `screen`
// (its top-left corner when it is larger), so a window remembered on a screen that is no
// longer there still opens where it can be seen.
WindowPlace KeepOnScreen(WindowPlace place, int width, int height, const ScreenArea& screen);

} // namespace rtd::gui

#endif

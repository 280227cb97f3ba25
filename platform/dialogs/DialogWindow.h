// A small modal window built from a fixed control table, in the native toolkit: Win32 on
// Windows, FLTK on Linux. The plug-in's forms describe their layout with WindowLayout and
// handle clicks; everything toolkit-specific stays behind this interface.
#ifndef RTD_PLATFORM_DIALOGS_DIALOGWINDOW_H
#define RTD_PLATFORM_DIALOGS_DIALOGWINDOW_H

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "WindowLayout.h"

namespace rtd {

// What the toolkit reports about a shown window and its controls.
struct ControlReading {
    std::string text;
    int left = 0, top = 0, width = 0, height = 0;
    std::string fontFace;
    int fontHeight = 0;
    bool bold = false;
    uint32_t colour = 0;
    bool checked = false;
    bool tabStop = false;
    bool focused = false; // has the keyboard focus
};

struct DialogReading {
    std::string caption;
    int left = 0, top = 0, outerWidth = 0, outerHeight = 0;
    int clientWidth = 0, clientHeight = 0;
    bool resizable = false;
    bool minimizeBox = false, maximizeBox = false, systemMenu = false;
    uint32_t background = 0;
    // The host window this one is owned by (transient for): HWND or X11 window id.
    uintptr_t owner = 0;
    bool ownerEnabled = true; // Windows: whether the owner takes input while we are shown
    std::vector<ControlReading> controls; // in table order
};

class DialogWindow {
public:
    // Called with the control's table index after the user clicked it (a check box has
    // already changed its state).
    using ClickHandler = std::function<void(int control)>;

    // The window is built but not shown. `owner` is the host's window (0: none).
    static std::unique_ptr<DialogWindow> Create(const WindowLayout& dialog, uintptr_t owner,
                                                ClickHandler onClick);
    virtual ~DialogWindow() = default;

    // Outer size in screen pixels (frame included where the toolkit knows it beforehand).
    virtual int OuterWidth() = 0;
    virtual int OuterHeight() = 0;
    virtual void SetLeft(int left) = 0;
    virtual void SetTop(int top) = 0;
    virtual bool Checked(int control) = 0;
    virtual void SetChecked(int control, bool checked) = 0;

    // Shows the window modally over its owner; returns once it was closed.
    virtual void ShowModal() = 0;
    // Ends the modal loop.
    virtual void Close() = 0;
    // True while shown and not yet closed.
    virtual bool Open() = 0;

    // For tests, while the window is shown: read it back from the toolkit, click a control
    // as the user would, or close it with the title bar's close box.
    virtual DialogReading Read() = 0;
    virtual void Click(int control) = 0;
    virtual void CloseFromTitleBar() = 0;
};

// Index of the control that comes first in tab order (it starts with the keyboard
// focus), or -1 when no control is a tab stop.
int FirstTabStop(const WindowLayout& dialog);

// False when no window can be shown (Linux without a reachable X display).
bool DialogDisplayAvailable();

// Called once each time a dialog window has become visible, from inside its modal loop.
// Tests use it to drive the dialog; null removes it.
using DialogShownHook = std::function<void(DialogWindow&)>;
void SetDialogShownHook(DialogShownHook hook);
void NotifyDialogShown(DialogWindow& window);

} // namespace rtd

#endif

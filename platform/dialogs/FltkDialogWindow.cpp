// The dialog windows on Linux: FLTK 1.3 on X11.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <FL/Fl.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Double_Window.H>
#include <FL/x.H>

#include <cstdlib>
#include <deque>

#include "DialogWindow.h"
#include "FltkControls.h"

namespace rtd {
namespace {

// Motif hints, which most X window managers honour: title bar with the window menu and
// close box only, no resize, minimise or maximise.
struct MotifHints {
    unsigned long flags, functions, decorations;
    long inputMode;
    unsigned long status;
};
const unsigned long kMotifFunctions = 1, kMotifDecorations = 2;
const unsigned long kFuncResize = 2, kFuncMove = 4, kFuncMinimize = 8, kFuncMaximize = 16,
                    kFuncClose = 32;
const unsigned long kDecorBorder = 2, kDecorTitle = 8, kDecorMenu = 16, kDecorMinimize = 32,
                    kDecorMaximize = 64;

class FltkDialogWindow : public DialogWindow {
public:
    FltkDialogWindow(const WindowLayout& dialog, uintptr_t owner, ClickHandler onClick)
        : dialog_(dialog), owner_(owner), onClick_(std::move(onClick)),
          window_(dialog.clientWidth, dialog.clientHeight, dialog.caption) {
        window_.color(ToFltk(kButtonFaceColour));
        ApplyFont(window_, dialog.font);
        window_.size_range(dialog.clientWidth, dialog.clientHeight, dialog.clientWidth,
                           dialog.clientHeight);
        window_.user_data(this);
        window_.callback(OnTitleBarClose); // the close box, or Escape
        for (size_t i = 0; i < dialog.controls.size(); ++i)
            controls_.push_back(Build(dialog.controls[i], static_cast<int>(i)));
        window_.end();
    }

    ~FltkDialogWindow() override { window_.hide(); }

    int OuterWidth() override { return window_.decorated_w(); }
    int OuterHeight() override { return window_.decorated_h(); }
    void SetLeft(int left) override { left_ = left, positioned_ = true; }
    void SetTop(int top) override { top_ = top, positioned_ = true; }
    bool Checked(int control) override { return Button(control)->value() != 0; }
    void SetChecked(int control, bool checked) override { Button(control)->value(checked); }

    void ShowModal() override {
        if (!dialog_.systemPlacement && positioned_)
            window_.position(left_, top_);
        window_.set_modal();
        window_.show();
        const Window xid = fl_xid(&window_);
        if (owner_)
            XSetTransientForHint(fl_display, xid, static_cast<Window>(owner_));
        MotifHints hints{kMotifFunctions | kMotifDecorations, kFuncMove | kFuncClose,
                         kDecorBorder | kDecorTitle | kDecorMenu, 0, 0};
        const Atom motif = XInternAtom(fl_display, "_MOTIF_WM_HINTS", False);
        XChangeProperty(fl_display, xid, motif, motif, 32, PropModeReplace,
                        reinterpret_cast<unsigned char*>(&hints), 5);
        FocusFirstTabStop();
        window_.wait_for_expose();
        Fl::flush();
        XSync(fl_display, False);
        NotifyDialogShown(*this);
        while (window_.shown())
            Fl::wait();
    }

    void Close() override { window_.hide(); }
    bool Open() override { return window_.shown() != 0; }

    DialogReading Read() override {
        DialogReading reading;
        reading.caption = window_.label() ? window_.label() : "";
        reading.background = FromFltk(window_.color());
        if (window_.shown())
            ReadFromServer(reading);
        for (Fl_Widget* widget : controls_)
            reading.controls.push_back(ReadControl(*widget));
        return reading;
    }

    void Click(int control) override {
        Fl_Widget* widget = controls_.at(static_cast<size_t>(control));
        // What a press and release on the control does: a check box flips first.
        if (dialog_.controls[static_cast<size_t>(control)].kind == ControlKind::CheckBox)
            Button(control)->value(!Button(control)->value());
        widget->do_callback();
    }

    void CloseFromTitleBar() override { window_.do_callback(); }

private:
    Fl_Widget* Build(const ControlRow& control, int index) {
        Fl_Widget* widget = BuildWidget(control);
        widget->callback(OnControl, static_cast<long>(index));
        return widget;
    }

    // The keyboard starts on the control that comes first in tab order, whether or not a
    // window manager hands the new window the X input focus.
    void FocusFirstTabStop() {
        const int first = FirstTabStop(dialog_);
        if (first >= 0)
            controls_[static_cast<size_t>(first)]->take_focus();
    }

    Fl_Button* Button(int control) {
        return static_cast<Fl_Button*>(controls_.at(static_cast<size_t>(control)));
    }

    void ReadFromServer(DialogReading& reading) {
        const Window xid = fl_xid(&window_);
        XWindowAttributes attributes{};
        XGetWindowAttributes(fl_display, xid, &attributes);
        reading.clientWidth = attributes.width;
        reading.clientHeight = attributes.height;
        reading.left = window_.x();
        reading.top = window_.y();
        reading.outerWidth = window_.decorated_w();
        reading.outerHeight = window_.decorated_h();

        XSizeHints size{};
        long supplied = 0;
        XGetWMNormalHints(fl_display, xid, &size, &supplied);
        reading.resizable =
            !(size.flags & PMinSize && size.flags & PMaxSize && size.min_width == size.max_width &&
              size.min_height == size.max_height);

        Window owner = 0;
        if (XGetTransientForHint(fl_display, xid, &owner))
            reading.owner = owner;

        const Atom motif = XInternAtom(fl_display, "_MOTIF_WM_HINTS", False);
        Atom type = 0;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(fl_display, xid, motif, 0, 5, False, motif, &type, &format, &count,
                               &after, &data) == Success &&
            data && count == 5) {
            const unsigned long* values = reinterpret_cast<unsigned long*>(data);
            const unsigned long functions = values[1], decorations = values[2];
            reading.resizable = reading.resizable || (functions & kFuncResize);
            reading.minimizeBox = (functions & kFuncMinimize) || (decorations & kDecorMinimize);
            reading.maximizeBox = (functions & kFuncMaximize) || (decorations & kDecorMaximize);
            reading.systemMenu = (decorations & kDecorMenu) != 0;
        }
        if (data)
            XFree(data);
    }

    ControlReading ReadControl(Fl_Widget& widget) {
        ControlReading reading;
        reading.text = widget.label() ? widget.label() : "";
        reading.left = widget.x();
        reading.top = widget.y();
        reading.width = widget.w();
        reading.height = widget.h();
        const std::string font = Fl::get_font(widget.labelfont());
        reading.bold = !font.empty() && (font[0] == 'B' || font[0] == 'P');
        reading.fontFace = font.empty() ? font : font.substr(1);
        reading.fontHeight = widget.labelsize();
        reading.colour = FromFltk(widget.labelcolor());
        if (Fl_Button* button = dynamic_cast<Fl_Button*>(&widget))
            reading.checked = button->value() != 0;
        reading.tabStop = widget.visible_focus() != 0;
        reading.focused = Fl::focus() == &widget;
        return reading;
    }

    static void OnControl(Fl_Widget* widget, long index) {
        auto* self = static_cast<FltkDialogWindow*>(widget->window()->user_data());
        if (self->onClick_)
            self->onClick_(static_cast<int>(index));
    }

    static void OnTitleBarClose(Fl_Widget* window, void*) {
        // FLTK sends Escape here too; the dialogs have no cancel key.
        if (Fl::event() == FL_SHORTCUT && Fl::event_key() == FL_Escape)
            return;
        static_cast<FltkDialogWindow*>(window->user_data())->Close();
    }

    const WindowLayout& dialog_;
    uintptr_t owner_;
    ClickHandler onClick_;
    Fl_Double_Window window_;
    std::vector<Fl_Widget*> controls_; // owned by window_
    int left_ = 0, top_ = 0;
    bool positioned_ = false;
};

} // namespace

std::unique_ptr<DialogWindow> DialogWindow::Create(const WindowLayout& dialog, uintptr_t owner,
                                                   ClickHandler onClick) {
    return std::make_unique<FltkDialogWindow>(dialog, owner, std::move(onClick));
}

bool DialogDisplayAvailable() {
    if (fl_display)
        return true;
    // Open the display ourselves first: FLTK exits the process when it cannot.
    const char* name = std::getenv("DISPLAY");
    if (!name || !*name)
        return false;
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return false;
    fl_open_display(display);
    return true;
}

} // namespace rtd

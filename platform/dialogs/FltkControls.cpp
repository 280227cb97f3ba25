#include "FltkControls.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Browser.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Check_Button.H>
#include <FL/Fl_Choice.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Progress.H>
#include <FL/Fl_Window.H>

#include <cstring>
#include <string>

namespace rtd {

namespace {

const uint32_t kFieldColour = 0xFFFFFF;
const uint32_t kProgressColour = 0x3C78D8;

// A label whose text starts at its left edge, as a Windows static control's does (FLTK
// otherwise indents left-aligned labels by 3 pixels). Text longer than the box is not cut.
class LabelBox : public Fl_Box {
public:
    LabelBox(int x, int y, int w, int h, const char* text) : Fl_Box(FL_NO_BOX, x, y, w, h, text) {
        align(FL_ALIGN_TOP_LEFT | FL_ALIGN_INSIDE);
    }
    void draw() override { draw_label(x(), y(), w(), h(), align()); }
};

template <typename Widget> Widget* WithTextFont(Widget* widget, const FontStyle& font) {
    widget->textfont(FltkFont(font));
    widget->textsize(font.pixelHeight);
    widget->color(ToFltk(kFieldColour));
    return widget;
}

} // namespace

Fl_Color ToFltk(uint32_t rgb) {
    return fl_rgb_color(static_cast<uchar>(rgb >> 16), static_cast<uchar>(rgb >> 8),
                        static_cast<uchar>(rgb));
}

uint32_t FromFltk(Fl_Color colour) {
    uchar r = 0, g = 0, b = 0;
    Fl::get_color(colour, r, g, b);
    return static_cast<uint32_t>(r) << 16 | static_cast<uint32_t>(g) << 8 | b;
}

// FLTK's font table is one per process, while the host and the plug-in each link their own
// copy of this code: numbering faces in order of first use let one copy overwrite the
// other's fonts. Every copy numbers them from this one list instead, so the same face gets
// the same number wherever it is registered. FLTK names a font by its face with a leading
// style letter: " " plain, "B" bold.
const char* const kFaces[] = {"MS Sans Serif", "Courier New", "MS Reference Sans Serif"};
constexpr int kFaceCount = static_cast<int>(sizeof kFaces / sizeof kFaces[0]);

// FLTK keeps the name's pointer, and compares the next name for that number with it, for as
// long as the process runs: also after the plug-in that registered it is unloaded. So the
// name lives on the heap, never freed, and is registered only where the table does not
// hold it yet (one copy per face in the process, however often the plug-in is loaded).
void RegisterFace(Fl_Font index, const std::string& name) {
    // The first number FLTK gives a grown table reaches far past ours; naming it with
    // FLTK's own sans serif grows the table, so that reading our numbers is safe.
    static_assert(2 * kFaceCount < FL_FREE_FONT, "the faces fit the table FLTK first grows");
    const Fl_Font farthest = static_cast<Fl_Font>(2 * FL_FREE_FONT - 1);
    Fl::set_font(farthest, Fl::get_font(FL_HELVETICA));
    const char* held = Fl::get_font(index);
    if (held && name == held)
        return;
    char* kept = new char[name.size() + 1];
    std::memcpy(kept, name.c_str(), name.size() + 1);
    Fl::set_font(index, kept);
}

Fl_Font FltkFont(const FontStyle& font) {
    int face = 0;
    while (face < kFaceCount && std::strcmp(kFaces[face], font.face) != 0)
        ++face;
    if (face == kFaceCount) // a face this toolkit does not know: FLTK's own sans serif
        return font.bold ? FL_HELVETICA_BOLD : FL_HELVETICA;
    const int slot = 2 * face + (font.bold ? 1 : 0);
    const Fl_Font index = static_cast<Fl_Font>(FL_FREE_FONT + slot);
    static bool registered[2 * kFaceCount] = {}; // by this copy, since it was loaded
    if (!registered[slot]) {
        RegisterFace(index, std::string(font.bold ? "B" : " ") + font.face);
        registered[slot] = true;
    }
    return index;
}

void ApplyFont(Fl_Widget& widget, const FontStyle& font) {
    widget.labelfont(FltkFont(font));
    widget.labelsize(font.pixelHeight);
    widget.labelcolor(ToFltk(font.colour));
}

Fl_Widget* BuildWidget(const ControlRow& c) {
    const int x = c.left, y = c.top, w = c.width, h = c.height;
    Fl_Widget* widget = nullptr;
    switch (c.kind) {
    case ControlKind::Label:
        widget = new LabelBox(x, y, w, h, c.text);
        break;
    case ControlKind::Button:
        widget = new Fl_Button(x, y, w, h, c.text);
        break;
    case ControlKind::CheckBox:
        widget = new Fl_Check_Button(x, y, w, h, c.text);
        break;
    case ControlKind::Edit:
        widget = WithTextFont(new Fl_Input(x, y, w, h), c.font);
        break;
    case ControlKind::Choice:
        widget = WithTextFont(new Fl_Choice(x, y, w, h), c.font);
        widget->color(ToFltk(kButtonFaceColour));
        break;
    case ControlKind::List: {
        auto* list = WithTextFont(new Fl_Browser(x, y, w, h), c.font);
        list->format_char(0); // lines are plain text, '@' included
        widget = list;
        break;
    }
    case ControlKind::ProgressBar: {
        auto* bar = new Fl_Progress(x, y, w, h);
        bar->minimum(0);
        bar->maximum(100);
        bar->selection_color(ToFltk(kProgressColour));
        bar->color(ToFltk(kButtonFaceColour));
        widget = bar;
        break;
    }
    case ControlKind::ResultStrip: {
        auto* strip = new Fl_Box(FL_FLAT_BOX, x, y, w, h, c.text);
        // Word-wrapped from the top: a message is shown whole, over as many lines as it
        // needs.
        strip->align(FL_ALIGN_TOP_LEFT | FL_ALIGN_INSIDE | FL_ALIGN_WRAP | FL_ALIGN_CLIP);
        widget = strip;
        break;
    }
    }
    if (c.kind == ControlKind::Label || c.kind == ControlKind::Button ||
        c.kind == ControlKind::CheckBox || c.kind == ControlKind::ResultStrip)
        widget->color(ToFltk(kButtonFaceColour));
    ApplyFont(*widget, c.font);
    if (c.tabOrder < 0)
        widget->clear_visible_focus();
    return widget;
}

void ClickWidget(Fl_Widget& widget) {
    Fl_Window* window = widget.window();
    if (!window)
        return;
    // Event coordinates are relative to the window the event is sent to.
    int x = widget.x() + widget.w() / 2, y = widget.y() + widget.h() / 2;
    for (Fl_Window* inner = window; inner->window(); inner = inner->window())
        x += inner->x(), y += inner->y();
    Fl_Window* top = widget.top_window();
    Fl::e_x = x;
    Fl::e_y = y;
    Fl::e_x_root = top->x() + x;
    Fl::e_y_root = top->y() + y;
    Fl::e_keysym = FL_Button + FL_LEFT_MOUSE;
    Fl::e_clicks = 0;
    Fl::e_is_click = 1;
    Fl::e_state = FL_BUTTON1;
    Fl::handle(FL_PUSH, top);
    Fl::e_state = 0;
    Fl::handle(FL_RELEASE, top);
}

} // namespace rtd

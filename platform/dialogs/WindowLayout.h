// A window described as a table: client size, caption, font, and every control's kind,
// position, size, text, font and tab order. The plug-in's About and Setup dialogs and
// ispgui's main window are each one such table, which the toolkit back ends (Win32 on
// Windows, FLTK on Linux) build from.
#ifndef RTD_PLATFORM_DIALOGS_WINDOWLAYOUT_H
#define RTD_PLATFORM_DIALOGS_WINDOWLAYOUT_H

#include <cstdint>
#include <vector>

namespace rtd {

enum class ControlKind {
    Label,       // one line of fixed text from the top left
    Button,      // runs something when clicked
    CheckBox,    // on or off
    Edit,        // one line of text the user types
    Choice,      // drop-down list, one item chosen
    List,        // lines, added one at a time
    ProgressBar, // 0 to 100
    ResultStrip  // a coloured line of text
};

// 0xRRGGBB.
constexpr uint32_t kWindowTextColour = 0x000000;
constexpr uint32_t kBlueColour = 0x0000FF;
constexpr uint32_t kWhiteColour = 0xFFFFFF;
// The window system's button face, as the Linux back ends paint it.
constexpr uint32_t kButtonFaceColour = 0xF0F0F0;

struct FontStyle {
    const char* face;
    int pixelHeight; // character height in pixels, as designed at 96 pixels per inch
    bool bold;
    uint32_t colour;
};

struct ControlRow {
    const char* name;
    ControlKind kind;
    int left, top, width, height; // client coordinates
    const char* text;             // null: filled in at run time
    FontStyle font;
    int tabOrder; // -1: not a tab stop
};

struct WindowLayout {
    const char* caption; // null: filled in at run time
    int clientWidth, clientHeight;
    FontStyle font;
    // True: the window system places the new window, whatever position was assigned.
    bool systemPlacement;
    std::vector<ControlRow> controls;
};

} // namespace rtd

#endif

#include "DialogLayout.h"

namespace rtd::ui {
namespace {

// Heights are character heights in pixels at 96 pixels per inch (8 pt = 11, 10 pt = 13,
// 11 pt = 15, 14 pt = 19).
const FontStyle kAboutFont{"MS Sans Serif", 11, false, kWindowTextColour};
const FontStyle kTitleFont{"MS Reference Sans Serif", 19, true, kWindowTextColour};
const FontStyle kContactFont{"MS Sans Serif", 13, false, kBlueColour};
const FontStyle kAboutButtonFont{"MS Sans Serif", 13, false, kWindowTextColour};
const FontStyle kSetupFont{"Courier New", 15, false, kWindowTextColour};
const FontStyle kFileNameFont{"Courier New", 13, false, kBlueColour};

const int kNoTabStop = -1;

} // namespace

// clang-format off
const WindowLayout& AboutLayout() {
    static const WindowLayout layout{"About...", 377, 121, kAboutFont, true, {
        // name      kind                 left top width height text                        font              tab
        {"Label1",  ControlKind::Label,   98,  18, 181,  22, "RTD2120 ISP V1.0",         kTitleFont,       kNoTabStop},
        {"Label2",  ControlKind::Label,  116,  50, 141,  16, "Firmware tools team",      kContactFont,     kNoTabStop},
        {"Button1", ControlKind::Button, 124,  79, 129,  25, "Close",                    kAboutButtonFont, 0},
    }};
    return layout;
}

const WindowLayout& SetupLayout() {
    static const WindowLayout layout{"RTD2120 Setup", 328, 166, kSetupFont, false, {
        // name        kind                   left top width height text                      font           tab
        {"CheckBox1", ControlKind::CheckBox,  54,  16, 217,  17, "Auto fire second bank",   kSetupFont,    0},
        {"Label1",    ControlKind::Label,     72,  41, 184,  16, "1.<FileName>_Extend.bin", kFileNameFont, kNoTabStop},
        {"Label2",    ControlKind::Label,     72,  60, 184,  16, "2.<FileName>_Extend.hex", kFileNameFont, kNoTabStop},
        {"Label3",    ControlKind::Label,     72,  79, 168,  16, "3.DEROredovOrovav.bin",   kFileNameFont, kNoTabStop},
        {"Label4",    ControlKind::Label,     72,  99, 168,  16, "4.DEROredovOrovav.hex",   kFileNameFont, kNoTabStop},
        {"Button1",   ControlKind::Button,    69, 123, 177,  33, "OK",                      kSetupFont,    1},
    }};
    return layout;
}
// clang-format on

} // namespace rtd::ui

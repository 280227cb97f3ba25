#include "GuiLayout.h"

#include <algorithm>

namespace rtd::gui {
namespace {

const FontStyle kFont{"MS Sans Serif", 13, false, kWindowTextColour};
const FontStyle kListFont{"Courier New", 13, false, kWindowTextColour};
const FontStyle kResultFont{"MS Sans Serif", 13, true, kWindowTextColour};
const int kNoTabStop = -1;
const uint32_t kOkColour = 0x1E8C3C;
const uint32_t kFailedColour = 0xC8282D;

} // namespace

// clang-format off
const WindowLayout& MainWindowLayout() {
    static const WindowLayout layout{nullptr, 580, 464, kFont, true, {
        // name            kind                      left top width height text             font         tab
        {"FileLabel",     ControlKind::Label,        12,  16,  96,  20, "Firmware file:", kFont,       kNoTabStop},
        {"FileEdit",      ControlKind::Edit,        112,  12, 364,  24, "",               kFont,       0},
        {"BrowseButton",  ControlKind::Button,      484,  12,  84,  24, "Browse...",      kFont,       1},
        {"BusLabel",      ControlKind::Label,        12,  48,  96,  20, "Bus:",           kFont,       kNoTabStop},
        {"BusChoice",     ControlKind::Choice,      112,  44, 456,  24, nullptr,          kFont,       2},
        {"WriteButton",   ControlKind::Button,       12,  80,  72,  28, "Write",          kFont,       3},
        {"VerifyButton",  ControlKind::Button,       92,  80,  72,  28, "Verify",         kFont,       4},
        {"EraseButton",   ControlKind::Button,      172,  80,  72,  28, "Erase",          kFont,       5},
        {"ResetButton",   ControlKind::Button,      252,  80,  72,  28, "Reset",          kFont,       6},
        {"ExtFuncButton", ControlKind::Button,      332,  80,  76,  28, nullptr,          kFont,       7},
        {"SetupButton",   ControlKind::Button,      416,  80,  72,  28, "Setup",          kFont,       8},
        {"AboutButton",   ControlKind::Button,      496,  80,  72,  28, "About",          kFont,       9},
        {"MessageList",   ControlKind::List,         12, 120, 556, 184, nullptr,          kListFont,   10},
        {"ProgressBar",   ControlKind::ProgressBar,  12, 312, 556,  20, nullptr,          kFont,       kNoTabStop},
        // Seven lines: a refusal wraps over three; a failure's diagnosis, which wraps over up
        // to four, and what the chip holds follow it.
        {"ResultStrip",   ControlKind::ResultStrip,  12, 340, 556, 112, "",               kResultFont, kNoTabStop},
    }};
    return layout;
}
// clang-format on

uint32_t ResultColour(ResultTone tone, uint32_t neutral) {
    switch (tone) {
    case ResultTone::Ok:
        return kOkColour;
    case ResultTone::Failed:
        return kFailedColour;
    case ResultTone::Neutral:
        break;
    }
    return neutral;
}

uint32_t ResultTextColour(ResultTone tone) {
    return tone == ResultTone::Neutral ? kWindowTextColour : kWhiteColour;
}

WindowPlace KeepOnScreen(WindowPlace place, int width, int height, const ScreenArea& screen) {
    const int maxLeft = screen.left + std::max(0, screen.width - width);
    const int maxTop = screen.top + std::max(0, screen.height - height);
    return {std::clamp(place.left, screen.left, maxLeft),
            std::clamp(place.top, screen.top, maxTop)};
}

} // namespace rtd::gui

// ispgui's command line: isphost's options where they apply to a window, and an optional
// firmware file.
//   ispgui [--plugin PATH] [--bus BUS] [--bus-speed KHZ] [--sim-flash FILE]
//          [--sim-fault FAULT]... [--sim-adapter LIMIT]... [--trace FILE] [--no-preflight]
//          [--no-confirm]
//          [--auto-fire-second on|off] [--settings FILE] [FILE]
#ifndef RTD_HOST_GUI_GUIOPTIONS_H
#define RTD_HOST_GUI_GUIOPTIONS_H

#include <string>
#include <vector>

#include "RunOptions.h"

namespace rtd::gui {

struct GuiOptions {
    host::RunOptions host;      // plug-in, bus, chip model, trace
    std::string autoFireSecond; // "on", "off" or empty: the plug-in's setting, stored first
    bool busGiven = false;      // --bus was given: it replaces the remembered bus
    bool noConfirm = false;     // --no-confirm: Erase without asking first
    std::string file;           // FILE: replaces the remembered firmware file
    std::string settingsFile;   // --settings; empty: ispgui.ini beside the plug-in's settings
    bool help = false, version = false;
};

// False, with a one-line reason, on a usage error.
bool ParseGuiOptions(const std::vector<std::string>& args, GuiOptions* options, std::string* error);

std::string GuiHelpText();
std::string GuiVersionText();

} // namespace rtd::gui

#endif

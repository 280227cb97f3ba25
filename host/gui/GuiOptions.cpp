#include "GuiOptions.h"

#include <cstddef>

#ifndef RTD_VERSION
#define RTD_VERSION "0.0.0"
#endif

namespace rtd::gui {

bool ParseGuiOptions(const std::vector<std::string>& args, GuiOptions* options,
                     std::string* error) {
    GuiOptions o;
    o.host.bus.clear(); // tells a --bus given from the default
    std::vector<std::string> words;
    // --settings is ispgui's own; everything else is isphost's syntax.
    std::vector<std::string> rest;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--") {
            rest.insert(rest.end(), args.begin() + static_cast<std::ptrdiff_t>(i), args.end());
            break;
        }
        if (arg.rfind("--settings=", 0) == 0) {
            o.settingsFile = arg.substr(11);
        } else if (arg == "--settings" && i + 1 < args.size()) {
            o.settingsFile = args[++i];
        } else if (arg == "--settings") {
            *error = "--settings needs a value";
            return false;
        } else {
            rest.push_back(arg);
        }
    }
    if (!host::ParseOptionWords(rest, &o.host, &words, error))
        return false;
    o.help = o.host.help;
    o.version = o.host.version;
    o.busGiven = !o.host.bus.empty();
    if (!o.busGiven)
        o.host.bus = "sim";
    if (o.host.quiet) {
        *error = "--quiet has no meaning for a window";
        return false;
    }
    if (words.size() > 1) {
        *error = "usage: ispgui [options] [FILE]";
        return false;
    }
    if (!words.empty())
        o.file = words[0];
    if (!host::CheckBus(&o.host, error))
        return false;
    if (!o.host.autoFireSecond.empty() && o.host.autoFireSecond != "on" &&
        o.host.autoFireSecond != "off") {
        *error = "--auto-fire-second takes on or off, not '" + o.host.autoFireSecond + "'";
        return false;
    }
    *options = o;
    return true;
}

std::string GuiHelpText() {
    return R"(Usage: ispgui [options] [FILE]

A window host for the RTD2120 in-system programming plug-in: choose a firmware file and
a bus, then Write, Erase, Reset or the plug-in's extra function; F5 writes again.

Options:
  --plugin PATH      the plug-in to load (default: beside ispgui, else ../plugin, ../lib)
  --bus BUS          the bus to start with, as isphost takes it (default: the one used
                     last, else sim)
  --sim-flash FILE   the simulated chip's flash (default: sim-flash.bin beside ispgui.ini)
  --sim-fault FAULT  make the simulated chip misbehave (repeatable; isphost --help lists them)
  --trace FILE       record every event of the session, as isphost --trace does
  --auto-fire-second on|off
                     store the plug-in's setting in Torvan.ini before loading it
  --settings FILE    where ispgui remembers file, bus and window position (default:
                     ispgui.ini beside Torvan.ini)
  --help, -h         this text
  --version          the version
)";
}

std::string GuiVersionText() {
    return "ispgui " RTD_VERSION;
}

} // namespace rtd::gui

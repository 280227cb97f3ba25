#include "GuiOptions.h"

#include "BusKind.h"
#include "BusTable.h"
#include "HostBus.h"
#include "OptionWords.h"

#ifndef RTD_VERSION
#define RTD_VERSION "0.0.0"
#endif

namespace rtd::gui {
namespace {

// The chip model's faults and the sim bus's limits, checked by setting the model up as a
// command does, without its flash file: a bad one is refused before the window opens
// rather than at the first command.
bool CheckChipModel(const host::RunOptions& options, std::string* error) {
    if (options.simFaults.empty() && options.simAdapter.empty())
        return true;
    host::BusOptions model = options;
    if (!host::IsModelBus(model.bus))
        model.bus = "sim";
    model.simFlash.clear();
    return host::CreateHostBus(model, nullptr, error) != nullptr;
}

} // namespace

bool ParseGuiOptions(const std::vector<std::string>& args, GuiOptions* options,
                     std::string* error) {
    GuiOptions o;
    o.host.bus.clear(); // tells a --bus given from the default
    std::string busSpeed;
    bool quiet = false;
    // clang-format off
    const std::vector<host::OptionWord> rows = {
        {"--plugin",           nullptr, &o.host.plugin},
        {"--bus",              nullptr, &o.host.bus},
        {"--bus-speed",        nullptr, &busSpeed},
        {"--sim-flash",        nullptr, &o.host.simFlash},
        {"--sim-fault",        nullptr, nullptr, &o.host.simFaults},
        {"--sim-adapter",      nullptr, nullptr, &o.host.simAdapter},
        {"--trace",            nullptr, &o.host.trace},
        {"--auto-fire-second", nullptr, &o.autoFireSecond},
        {"--settings",         nullptr, &o.settingsFile},
        {"--no-preflight",     nullptr, nullptr, nullptr, &o.host.noPreflight},
        {"--no-confirm",       nullptr, nullptr, nullptr, &o.noConfirm},
        {"--quiet",            "-q",    nullptr, nullptr, &quiet},
        {"--help",             "-h",    nullptr, nullptr, &o.help},
        {"--version",          nullptr, nullptr, nullptr, &o.version},
    };
    // clang-format on
    std::vector<std::string> words;
    if (!host::ReadOptionWords(args, rows, &words, error))
        return false;
    o.busGiven = !o.host.bus.empty();
    if (!o.busGiven)
        o.host.bus = "sim";
    if (quiet) {
        *error = "--quiet has no meaning for a window";
        return false;
    }
    if (words.size() > 1) {
        *error = "usage: ispgui [options] [FILE]";
        return false;
    }
    if (!words.empty())
        o.file = words[0];
    if (!host::CheckBus(&o.host, busSpeed, error))
        return false;
    if (!o.autoFireSecond.empty() && o.autoFireSecond != "on" && o.autoFireSecond != "off") {
        *error = "--auto-fire-second takes on or off, not '" + o.autoFireSecond + "'";
        return false;
    }
    if (!CheckChipModel(o.host, error))
        return false;
    *options = o;
    return true;
}

std::string GuiHelpText() {
    return R"(Usage: ispgui [options] [FILE]

A window host for the RTD2120 in-system programming plug-in: choose a firmware file and
a bus, then Write, Verify, Erase, Reset or the plug-in's extra function; F5 writes
again. Erase asks first.

Options:
  --plugin PATH      the plug-in to load (default: beside ispgui, else ../plugin, ../lib)
  --bus BUS          the bus to start with, as isphost takes it (default: the one used
                     last, else sim)
  --sim-flash FILE   the simulated chip's flash (default: sim-flash.bin beside
                     --settings FILE, else in the user's data folder when
                     ispgui's own is not writable)
  --sim-fault FAULT  make the simulated chip misbehave (repeatable; isphost --help lists them)
  --trace FILE       record every event of the session, as isphost --trace does
  --auto-fire-second on|off
                     store the plug-in's setting in Torvan.ini before loading it
  --no-confirm       erase without asking first (for scripted use)
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

#include "host/Options.h"

#include <cstddef>

namespace rtd::host {

namespace {

struct CommandShape {
    const char* name;
    size_t arguments;
    const char* usage;
};

const CommandShape kCommands[] = {
    {"info", 0, "info"},
    {"write", 1, "write FILE"},
    {"erase", 0, "erase"},
    {"reset", 0, "reset"},
    {"enter-isp", 0, "enter-isp"},
    {"about", 0, "about"},
    {"setup", 0, "setup"},
    {"image info", 1, "image info FILE"},
    {"image convert", 2, "image convert FILE OUT.bin"},
    {"image pack", 2, "image pack IN.bin OUT.kvf"},
};

// Options that take a value, and where the value goes.
std::string* ValueSlot(const std::string& name, Options* o) {
    if (name == "--plugin")
        return &o->plugin;
    if (name == "--bus")
        return &o->bus;
    if (name == "--sim-flash")
        return &o->simFlash;
    if (name == "--trace")
        return &o->trace;
    if (name == "--auto-fire-second")
        return &o->autoFireSecond;
    return nullptr;
}

bool TakeOption(const std::vector<std::string>& args, size_t* i, Options* o, std::string* error) {
    const std::string& arg = args[*i];
    const size_t equals = arg.find('=');
    const std::string name = arg.substr(0, equals);
    const bool inlineValue = equals != std::string::npos;

    if (name == "--quiet" || name == "--help" || name == "--version" || name == "-h" ||
        name == "-q") {
        if (inlineValue) {
            *error = name + " takes no value";
            return false;
        }
        if (name == "--quiet" || name == "-q")
            o->quiet = true;
        else if (name == "--version")
            o->version = true;
        else
            o->help = true;
        return true;
    }
    std::string* slot = ValueSlot(name, o);
    const bool fault = name == "--sim-fault";
    if (!slot && !fault) {
        *error = "unknown option " + name;
        return false;
    }
    std::string value;
    if (inlineValue) {
        value = arg.substr(equals + 1);
    } else if (*i + 1 < args.size()) {
        value = args[++*i];
    } else {
        *error = name + " needs a value";
        return false;
    }
    if (value.empty()) {
        *error = name + " needs a value";
        return false;
    }
    if (fault)
        o->simFaults.push_back(value);
    else
        *slot = value;
    return true;
}

bool CheckCommand(const std::vector<std::string>& words, Options* o, std::string* error) {
    if (words.empty()) {
        *error = "no command given (isphost --help lists them)";
        return false;
    }
    size_t used = 1;
    std::string name = words[0];
    if (name == "image") {
        if (words.size() < 2) {
            *error = "image needs a subcommand: info, convert or pack";
            return false;
        }
        name += " " + words[1];
        used = 2;
    }
    for (const CommandShape& shape : kCommands) {
        if (name != shape.name)
            continue;
        const size_t given = words.size() - used;
        if (given != shape.arguments) {
            *error = std::string("usage: isphost [options] ") + shape.usage;
            return false;
        }
        o->command = name;
        o->arguments.assign(words.begin() + static_cast<std::ptrdiff_t>(used), words.end());
        return true;
    }
    *error = "unknown command '" + name + "' (isphost --help lists them)";
    return false;
}

bool IsDevicePath(const std::string& bus) {
    return bus.find('/') != std::string::npos;
}

} // namespace

bool UsesSimulatedBus(const Options& options) {
    return options.bus == "sim";
}

bool ParseOptions(const std::vector<std::string>& args, Options* options, std::string* error) {
    Options o;
    std::vector<std::string> words;
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && arg.size() > 1 && arg[0] == '-') {
            if (!TakeOption(args, &i, &o, error))
                return false;
        } else {
            words.push_back(arg);
        }
    }
    if (o.help || o.version) {
        *options = o;
        return true;
    }
    if (!CheckCommand(words, &o, error))
        return false;
    if (!UsesSimulatedBus(o) && !IsDevicePath(o.bus)) {
        *error = "--bus takes 'sim' or an adapter device such as /dev/i2c-1, not '" + o.bus + "'";
        return false;
    }
    if (!o.autoFireSecond.empty() && o.autoFireSecond != "on" && o.autoFireSecond != "off") {
        *error = "--auto-fire-second takes on or off, not '" + o.autoFireSecond + "'";
        return false;
    }
    if (!UsesSimulatedBus(o) && (!o.simFlash.empty() || !o.simFaults.empty())) {
        *error = "--sim-flash and --sim-fault apply only to --bus sim";
        return false;
    }
    *options = o;
    return true;
}

} // namespace rtd::host

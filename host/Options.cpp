#include "Options.h"

#include <algorithm>
#include <cstddef>

#include "CommandTable.h"
#include "bus/BusTable.h"

namespace rtd::host {

namespace {

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
    if (name == "--bus-speed")
        return &o->busSpeedText;
    if (name == "--auto-fire-second")
        return &o->autoFireSecond;
    if (name == "--log")
        return &o->log;
    if (name == "--boards")
        return &o->boardsText;
    return nullptr;
}

// Options that take no value.
bool* FlagSlot(const std::string& name, Options* o) {
    if (name == "--quiet" || name == "-q")
        return &o->quiet;
    if (name == "--help" || name == "-h")
        return &o->help;
    if (name == "--version")
        return &o->version;
    if (name == "--json")
        return &o->json;
    if (name == "--stats")
        return &o->stats;
    if (name == "--if-different")
        return &o->ifDifferent;
    if (name == "--no-preflight")
        return &o->noPreflight;
    return nullptr;
}

bool TakeOption(const std::vector<std::string>& args, size_t* i, Options* o, std::string* error) {
    const std::string& arg = args[*i];
    const size_t equals = arg.find('=');
    const std::string name = arg.substr(0, equals);
    const bool inlineValue = equals != std::string::npos;

    if (bool* flag = FlagSlot(name, o)) {
        if (inlineValue) {
            *error = name + " takes no value";
            return false;
        }
        *flag = true;
        return true;
    }
    std::string* slot = ValueSlot(name, o);
    const bool fault = name == "--sim-fault";
    const bool limit = name == "--sim-adapter";
    if (!slot && !fault && !limit) {
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
    else if (limit)
        o->simAdapter.push_back(value);
    else
        *slot = value;
    return true;
}

// The second words of a command group, for a reason line: "info, convert or pack".
std::string GroupMembers(const std::string& group) {
    std::vector<std::string> members;
    for (const HostCommand& c : HostCommands()) {
        const std::string name = c.name;
        if (name.rfind(group + " ", 0) == 0)
            members.push_back(name.substr(group.size() + 1));
    }
    std::string list;
    for (size_t i = 0; i < members.size(); ++i)
        list += (i == 0 ? "" : i + 1 == members.size() ? " or " : ", ") + members[i];
    return list;
}

bool CheckCommand(const std::vector<std::string>& words, Options* o, std::string* error) {
    if (words.empty()) {
        *error = "no command given (isphost --help lists them)";
        return false;
    }
    size_t used = 1;
    std::string name = words[0];
    if (IsCommandGroup(name)) {
        if (words.size() < 2) {
            *error = name + " needs a subcommand: " + GroupMembers(name);
            return false;
        }
        name += " " + words[1];
        used = 2;
    }
    const HostCommand* command = FindHostCommand(name);
    if (!command) {
        *error = "unknown command '" + name + "' (isphost --help lists them)";
        return false;
    }
    if (words.size() - used != command->arguments) {
        *error = std::string("usage: isphost [options] ") + command->usage;
        return false;
    }
    o->command = name;
    o->arguments.assign(words.begin() + static_cast<std::ptrdiff_t>(used), words.end());
    return true;
}

} // namespace

bool CheckBus(Options* o, std::string* error) {
    const BusKind* kind = FindBusKind(o->bus);
    if (!kind) {
        std::string names;
        for (const BusKind& k : BusKinds())
            names += std::string(names.empty() ? "" : ", ") + k.synopsis;
        *error = "--bus takes " + names + ", not '" + o->bus + "'";
        return false;
    }
    if (!kind->check(o->bus, error))
        return false;
    if (o->busSpeedText.empty())
        return true;
    static const int kSpeeds[] = {20, 100, 400, 750};
    const auto known = std::find_if(std::begin(kSpeeds), std::end(kSpeeds),
                                    [&](int k) { return std::to_string(k) == o->busSpeedText; });
    if (known == std::end(kSpeeds)) {
        *error = "--bus-speed takes 20, 100, 400 or 750 (kHz), not '" + o->busSpeedText + "'";
        return false;
    }
    o->busSpeedKhz = *known;
    const std::vector<int>& speeds = kind->speedsKhz;
    if (speeds.empty()) {
        *error = "--bus-speed does not apply to " + o->bus + ": the system sets its clock";
        return false;
    }
    if (std::find(speeds.begin(), speeds.end(), o->busSpeedKhz) == speeds.end()) {
        std::string list;
        for (int s : speeds)
            list += (list.empty() ? "" : ", ") + std::to_string(s);
        *error = "--bus-speed " + o->busSpeedText + ": " + o->bus + " runs at " + list + " kHz";
        return false;
    }
    return true;
}

bool UsesChipModel(const Options& options) {
    return IsModelBus(options.bus);
}

bool ParseOptionWords(const std::vector<std::string>& args, Options* options,
                      std::vector<std::string>* words, std::string* error) {
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && arg.size() > 1 && arg[0] == '-') {
            if (!TakeOption(args, &i, options, error))
                return false;
        } else {
            words->push_back(arg);
        }
    }
    return true;
}

bool ParseOptions(const std::vector<std::string>& args, Options* options, std::string* error) {
    Options o;
    std::vector<std::string> words;
    if (!ParseOptionWords(args, &o, &words, error))
        return false;
    if (o.help || o.version) {
        *options = o;
        return true;
    }
    if (!CheckCommand(words, &o, error))
        return false;
    if (!CheckBus(&o, error))
        return false;
    if (!o.autoFireSecond.empty() && o.autoFireSecond != "on" && o.autoFireSecond != "off") {
        *error = "--auto-fire-second takes on or off, not '" + o.autoFireSecond + "'";
        return false;
    }
    const HostCommand& command = *FindHostCommand(o.command);
    if ((o.json || o.stats) && !command.needsBus) {
        *error = std::string(o.json ? "--json" : "--stats") +
                 " applies to the commands that use the bus, not to " + o.command;
        return false;
    }
    if (o.ifDifferent && o.command != "write" && o.command != "station") {
        *error = "--if-different applies to write and station only";
        return false;
    }
    const bool station = o.command == "station";
    if (!station && (!o.log.empty() || !o.boardsText.empty())) {
        *error = "--log and --boards apply to station only";
        return false;
    }
    if (station && o.log.empty()) {
        *error = "station needs --log LOG.csv";
        return false;
    }
    if (!o.boardsText.empty()) {
        const std::string& b = o.boardsText;
        if (b.size() > 6 || b.find_first_not_of("0123456789") != std::string::npos ||
            std::stoi(b) < 1) {
            *error = "--boards takes a count from 1, not '" + b + "'";
            return false;
        }
        o.boards = std::stoi(b);
    }
    if (!UsesChipModel(o) && (!o.simFlash.empty() || !o.simFaults.empty())) {
        *error = "--sim-flash and --sim-fault apply only to --bus sim and adapter models "
                 "(ch341:model)";
        return false;
    }
    if (!o.simAdapter.empty() && o.bus != "sim") {
        *error = "--sim-adapter applies only to --bus sim";
        return false;
    }
    *options = o;
    return true;
}

} // namespace rtd::host

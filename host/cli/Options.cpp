#include "Options.h"

#include <algorithm>
#include <cstddef>

#include "BusTable.h"
#include "CommandTable.h"
#include "OptionWords.h"

namespace rtd::host {

namespace {

// Every option of isphost and where it goes.
std::vector<OptionWord> OptionRows(Options* o) {
    // clang-format off
    return {
        {"--plugin",           nullptr, &o->plugin},
        {"--bus",              nullptr, &o->bus},
        {"--bus-speed",        nullptr, &o->busSpeedText},
        {"--sim-flash",        nullptr, &o->simFlash},
        {"--sim-fault",        nullptr, nullptr, &o->simFaults},
        {"--sim-adapter",      nullptr, nullptr, &o->simAdapter},
        {"--trace",            nullptr, &o->trace},
        {"--auto-fire-second", nullptr, &o->autoFireSecond},
        {"--log",              nullptr, &o->log},
        {"--boards",           nullptr, &o->boardsText},
        {"--quiet",            "-q",    nullptr, nullptr, &o->quiet},
        {"--help",             "-h",    nullptr, nullptr, &o->help},
        {"--version",          nullptr, nullptr, nullptr, &o->version},
        {"--json",             nullptr, nullptr, nullptr, &o->json},
        {"--stats",            nullptr, nullptr, nullptr, &o->stats},
        {"--if-different",     nullptr, nullptr, nullptr, &o->ifDifferent},
        {"--no-preflight",     nullptr, nullptr, nullptr, &o->noPreflight},
        {"--force",            nullptr, nullptr, nullptr, &o->force},
    };
    // clang-format on
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

bool UsesChipModel(const Options& options) {
    return IsModelBus(options.bus);
}

bool ParseOptionWords(const std::vector<std::string>& args, Options* options,
                      std::vector<std::string>* words, std::string* error) {
    return ReadOptionWords(args, OptionRows(options), words, error);
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
    if (!CheckBus(&o, o.busSpeedText, error))
        return false;
    if (!o.autoFireSecond.empty() && o.autoFireSecond != "on" && o.autoFireSecond != "off") {
        *error = "--auto-fire-second takes on or off, not '" + o.autoFireSecond + "'";
        return false;
    }
    const HostCommand& command = *FindHostCommand(o.command);
    if ((o.json || o.stats) && !command.Has(kNeedsBus)) {
        *error = std::string(o.json ? "--json" : "--stats") +
                 " applies to the commands that use the bus, not to " + o.command;
        return false;
    }
    if (o.ifDifferent && !command.Has(kProgramsFile)) {
        *error = "--if-different applies to write and station only";
        return false;
    }
    const bool station = command.Has(kRunsBoards);
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

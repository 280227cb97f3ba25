#include "Options.h"

#include <algorithm>
#include <cstddef>

#include "BusTable.h"
#include "CommandTable.h"
#include "OptionTable.h"
#include "OptionWords.h"

namespace rtd::host {

namespace {

// The table's rows bound to `o`.
std::vector<OptionWord> OptionWords(Options* o) {
    std::vector<OptionWord> words;
    for (const HostOption& row : HostOptions()) {
        OptionWord word{row.name, row.alias};
        if (row.value)
            word.value = &(o->*row.value);
        else if (row.values)
            word.values = &(o->*row.values);
        else
            word.flag = &(o->*row.flag);
        words.push_back(word);
    }
    return words;
}

bool IsCommandWord(const std::string& word) {
    return FindHostCommand(word) || IsCommandGroup(word);
}

// "a, b or c".
std::string ListOf(const std::vector<std::string>& items) {
    std::string list;
    for (size_t i = 0; i < items.size(); ++i)
        list += (i == 0 ? "" : i + 1 == items.size() ? " or " : ", ") + items[i];
    return list;
}

// An option given to a command its row does not name.
bool CheckOptionsApply(const Options& o, const HostCommand& command, std::string* error) {
    for (const HostOption& row : HostOptions()) {
        if (!row.commands || command.Has(row.commands) || !row.GivenIn(o))
            continue;
        std::vector<std::string> takers;
        for (const HostCommand& c : HostCommands())
            if (c.Has(row.commands))
                takers.push_back(c.name);
        *error = std::string(row.name) + " applies to " + ListOf(takers) + ", not to " + o.command;
        return false;
    }
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
    return ListOf(members);
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
    return ReadOptionWords(args, OptionWords(options), words, error, IsCommandWord);
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
    if (!CheckOptionsApply(o, command, error))
        return false;
    const bool station = command.Has(kRunsBoards);
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

// isphost's options, in the order --help lists them. One row says what an option is
// called, what value it takes, what --help says about it, which commands take it and
// where its value goes; the option parser, the help text and the tests read this table.
#ifndef RTD_HOST_CLI_OPTIONTABLE_H
#define RTD_HOST_CLI_OPTIONTABLE_H

#include <string>
#include <utility>
#include <vector>

#include "Faults.h"
#include "Options.h"

namespace rtd::host {

// A list of values shown under an option, as --sim-fault shows its faults.
struct OptionValues {
    const char* heading; // a line before the list ('\n' starts another); null: none
    const std::vector<sim::FaultForm>* forms;
};

struct HostOption {
    const char* name;      // "--bus-speed"
    const char* alias;     // "-q"; null: none
    const char* valueName; // "KHZ"; null: a flag
    const char* help;      // for --help; a '\n' starts a continuation line
    // The command traits (CommandTable.h) a command needs to take the option; 0: any.
    unsigned commands;
    std::string Options::*value = nullptr;               // the last one given counts
    std::vector<std::string> Options::*values = nullptr; // repeatable, in order
    bool Options::*flag = nullptr;                       // a flag
    // Shown instead of "name valueName", one line each: --bus's forms and what they are.
    std::vector<std::pair<const char*, const char*>> forms = {};
    std::vector<OptionValues> lists = {};

    // What --help shows in its first column, one line each: "--trace FILE", "--quiet, -q",
    // or every form ("--bus sim", "--bus ch341[:N]", ...).
    std::vector<std::string> Heads() const;
    // The option is on the command line `o` was parsed from.
    bool GivenIn(const Options& o) const;
};

const std::vector<HostOption>& HostOptions();

// The row whose name or alias is `name`, or null.
const HostOption* FindHostOption(const std::string& name);

} // namespace rtd::host

#endif

// isphost's commands, in the order --help lists them. One row says what a command is
// called, what it takes, what it is (the traits of ChipCommands.h) and how it runs; the
// option parser, the help text and the dispatcher all read this table.
#ifndef RTD_HOST_CLI_COMMANDTABLE_H
#define RTD_HOST_CLI_COMMANDTABLE_H

#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

#include "ChipCommands.h"

namespace rtd::host {

struct Options;

// isphost's own trait: the command runs board after board and takes --log and --boards.
constexpr unsigned kRunsBoards = 1u << 8;

struct HostCommand {
    const char* name;  // as typed; the image tools have two words ("image info")
    size_t arguments;  // how many words follow the name
    const char* usage; // "write FILE"
    const char* help;  // for --help; a '\n' starts a continuation line
    // A command isphost runs itself: returns the exit status. Null: the chip command of
    // the same name, run through RunChipCommand.
    int (*run)(const Options& options, std::ostream& out, std::ostream& err);
    unsigned traits = 0; // a chip command's are its row's
    const ChipCommand* chip = nullptr;

    // Every bit of `trait` is set.
    bool Has(unsigned trait) const { return (traits & trait) == trait; }
};

const std::vector<HostCommand>& HostCommands();

// The row for a command name, or null.
const HostCommand* FindHostCommand(const std::string& name);

// True when some command's name starts with `word` and a second word ("image").
bool IsCommandGroup(const std::string& word);

} // namespace rtd::host

#endif

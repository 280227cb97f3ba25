// The host's commands, in the order --help lists them. One row says what a command is
// called, what it takes, whether the plug-in gets a bus for it, and how it runs; the
// option parser, the help text and the dispatcher all read this table.
#ifndef RTD_HOST_COMMANDTABLE_H
#define RTD_HOST_COMMANDTABLE_H

#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

namespace rtd::host {

struct Options;
struct PluginExports;

struct HostCommand {
    const char* name;  // as typed; the image tools have two words ("image info")
    size_t arguments;  // how many words follow the name
    const char* usage; // "write FILE"
    const char* help;  // for --help; a '\n' starts a continuation line
    // Commands run through the plug-in: the export call, true when the export returned
    // true. The host objects are handed over before and taken back after it. Null with
    // needsBus: the host talks to the chip itself (verify), without the plug-in.
    bool (*callExport)(const PluginExports& exports, const Options& options, std::ostream& out);
    bool needsBus;      // the plug-in is given a bus object for the call
    bool reportsResult; // the output ends with "<name>: OK" or "<name>: FAILED"
    // Commands that run without the plug-in: returns the exit status.
    int (*run)(const Options& options, std::ostream& out, std::ostream& err);
    // The command erases the chip: the pre-flight runs first, unless --no-preflight.
    bool erasesChip = false;
};

const std::vector<HostCommand>& HostCommands();

// The row for a command name, or null.
const HostCommand* FindHostCommand(const std::string& name);

// True when some command's name starts with `word` and a second word ("image").
bool IsCommandGroup(const std::string& word);

} // namespace rtd::host

#endif

// The command line of isphost: options anywhere before "--", then a command and its
// arguments.
#ifndef RTD_HOST_CLI_OPTIONS_H
#define RTD_HOST_CLI_OPTIONS_H

#include <string>
#include <vector>

#include "RunOptions.h"

namespace rtd::host {

// --bus, --bus-speed, --sim-flash, --sim-fault, --sim-adapter, --plugin, --trace,
// --no-preflight and --if-different fill the RunOptions part.
struct Options : RunOptions {
    std::string busSpeedText;   // --bus-speed as given
    std::string autoFireSecond; // "on", "off" or empty (leave the setting alone)
    bool quiet = false;
    bool json = false;      // --json: one JSON object per event (bus commands)
    bool stats = false;     // --stats: bus counts and times after a bus command
    std::string log;        // station --log: the CSV log, one row per board
    std::string boardsText; // station --boards as given
    int boards = 0;         // station --boards; 0: until Ctrl-C
    bool help = false;
    bool version = false;
    std::string command;   // "info", "write", "buses", ..., "image pack"
    bool terminal = false; // not an option: stderr is a terminal (RunHost's caller says)
};

// Fills `options` from the arguments after the program name. False, with a one-line
// reason, on a usage error.
bool ParseOptions(const std::vector<std::string>& args, Options* options, std::string* error);

// The chip model stands behind the bus (sim, or an adapter's model): --sim-flash and
// --sim-fault apply.
bool UsesChipModel(const Options& options);

// The option part of the command line: fills `options` from the options and collects every
// other word in order. False, with a one-line reason, on a bad option.
bool ParseOptionWords(const std::vector<std::string>& args, Options* options,
                      std::vector<std::string>* words, std::string* error);

} // namespace rtd::host

#endif

// The command line of isphost: options anywhere before "--", then a command and its
// arguments.
#ifndef RTD_HOST_OPTIONS_H
#define RTD_HOST_OPTIONS_H

#include <string>
#include <vector>

namespace rtd::host {

struct Options {
    std::string plugin;                  // empty: the default beside the executable
    std::string bus = "sim";             // a row of host/bus/BusTable: "sim", "/dev/i2c-1", ...
    std::string busSpeedText;            // --bus-speed as given
    int busSpeedKhz = 0;                 // --bus-speed; 0: not given (100 kHz)
    std::string simFlash;                // model flash file, loaded before and saved after
    std::vector<std::string> simFaults;  // in the order given
    std::vector<std::string> simAdapter; // --sim-adapter limits of the sim bus, in order
    bool noPreflight = false;            // --no-preflight: write and erase without checks
    std::string trace;                   // empty: no trace
    std::string autoFireSecond;          // "on", "off" or empty (leave the setting alone)
    bool quiet = false;
    bool json = false;        // --json: one JSON object per event (bus commands)
    bool stats = false;       // --stats: bus counts and times after a bus command
    bool ifDifferent = false; // write --if-different: verify first, write only on a mismatch
    std::string log;          // station --log: the CSV log, one row per board
    std::string boardsText;   // station --boards as given
    int boards = 0;           // station --boards; 0: until Ctrl-C
    bool help = false;
    bool version = false;
    std::string command;                // "info", "write", "buses", ..., "image pack"
    std::vector<std::string> arguments; // the command's arguments
};

// Fills `options` from the arguments after the program name. False, with a one-line
// reason, on a usage error.
bool ParseOptions(const std::vector<std::string>& args, Options* options, std::string* error);

// The chip model stands behind the bus (sim, or an adapter's model): --sim-flash and
// --sim-fault apply.
bool UsesChipModel(const Options& options);

// The option part of a command line, for hosts with a command line of their own (ispgui):
// fills `options` from the options and collects every other word in order. False, with a
// one-line reason, on a bad option.
bool ParseOptionWords(const std::vector<std::string>& args, Options* options,
                      std::vector<std::string>* words, std::string* error);
// The bus exists in the bus table, its device part is understood and --bus-speed (when
// given) is one the adapter can set; fills busSpeedKhz. False, with a one-line reason.
bool CheckBus(Options* options, std::string* error);

} // namespace rtd::host

#endif

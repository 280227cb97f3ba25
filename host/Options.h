// The command line of isphost: options anywhere before "--", then a command and its
// arguments.
#ifndef RTD_HOST_OPTIONS_H
#define RTD_HOST_OPTIONS_H

#include <string>
#include <vector>

namespace rtd::host {

struct Options {
    std::string plugin;                 // empty: the default beside the executable
    std::string bus = "sim";            // "sim" or an i2c-dev device path
    std::string simFlash;               // model flash file, loaded before and saved after
    std::vector<std::string> simFaults; // in the order given
    std::string trace;                  // empty: no trace
    std::string autoFireSecond;         // "on", "off" or empty (leave the setting alone)
    bool quiet = false;
    bool help = false;
    bool version = false;
    std::string command;                // "info", "write", ..., "image info", "image pack"
    std::vector<std::string> arguments; // the command's arguments
};

// Fills `options` from the arguments after the program name. False, with a one-line
// reason, on a usage error.
bool ParseOptions(const std::vector<std::string>& args, Options* options, std::string* error);

bool UsesSimulatedBus(const Options& options);

} // namespace rtd::host

#endif

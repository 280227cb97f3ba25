// What opening a bus takes, whatever front end asked for it: the bus, its clock and the
// chip model's flash, faults and adapter limits.
#ifndef RTD_HOST_BUS_BUSOPTIONS_H
#define RTD_HOST_BUS_BUSOPTIONS_H

#include <string>
#include <vector>

namespace rtd::host {

struct BusOptions {
    std::string bus = "sim";             // a row of the bus table: "sim", "/dev/i2c-1", ...
    int busSpeedKhz = 0;                 // 0: not asked for (100 kHz)
    std::string simFlash;                // model flash file, loaded before and saved after
    std::vector<std::string> simFaults;  // in the order given
    std::vector<std::string> simAdapter; // limits of the sim bus, in order
};

// The speed a command runs at: the one asked for, else 100 kHz.
inline int BusSpeedKhz(const BusOptions& options) {
    return options.busSpeedKhz ? options.busSpeedKhz : 100;
}

} // namespace rtd::host

#endif

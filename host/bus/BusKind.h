// One row of the bus table: a kind of bus `--bus` can name. Each adapter kind defines its
// row in a header of its own; the session's table lists the rows.
//
// How an adapter plugs in: write an open function (usually an AdapterHostBus over the
// adapter's I2cAdapter) and a lister for `isphost buses`, then give the table one row.
// The row's `matches` claims the --bus texts of the adapter ("ftdi", "ftdi:...") and
// `check` refuses a bad one at parse time with a one-line reason.
#ifndef RTD_HOST_BUS_BUSKIND_H
#define RTD_HOST_BUS_BUSKIND_H

#include <memory>
#include <string>
#include <vector>

#include "BusOptions.h"
#include "HostBus.h"
#include "Trace.h"

namespace rtd::host {

struct BusSetup {
    const BusOptions& options;
    Trace* trace; // adapter-level lines go here (A > / A <); never null, may be unopened
};

// One attached device for `isphost buses`.
struct BusListing {
    std::string bus;    // as --bus takes it: "/dev/i2c-3", "ch341:0"
    std::string what;   // the system's name for it
    std::string answer; // ProbeResult::Describe(), or why it could not be opened
};

struct BusKind {
    const char* title;    // heading in `isphost buses`
    const char* synopsis; // the --bus forms, for messages: "ch341[:N], ch341:model"
    bool (*matches)(const std::string& bus);
    // Checks the rest of the --bus text at parse time; false with a one-line reason.
    bool (*check)(const std::string& bus, std::string* error);
    // The --bus-speed values (kHz) the adapter can set; empty: the system sets the clock.
    std::vector<int> speedsKhz;
    std::unique_ptr<HostBus> (*open)(const BusSetup& setup, std::string* error);
    // The attached devices; null when there is nothing to list. `note` receives a line
    // for an empty list or a missing driver ("CH341DLL.DLL not found ...").
    std::vector<BusListing> (*list)(std::string* note);
};

// "ch341" and "0" for "ch341:0"; the device part is empty without a colon.
std::string BusName(const std::string& bus);
std::string BusDevice(const std::string& bus);
// The model of an adapter (":model") or the plain chip model ("sim").
bool IsModelBus(const std::string& bus);
// A device index after the colon ("3" of "mcp2221:3"), 0 when there is none; false for
// anything but a number up to `maxIndex`.
bool BusIndex(const std::string& device, int maxIndex, int* index);
// A row's check that takes any device text.
bool AnyBusText(const std::string& bus, std::string* error);

} // namespace rtd::host

#endif

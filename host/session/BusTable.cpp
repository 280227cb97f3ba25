#include "BusTable.h"

#include <algorithm>

#include "Ch341Bus.h"
#include "FtdiBus.h"
#include "I2cDevBus.h"
#include "Mcp2221Bus.h"
#include "SimulatedBus.h"

namespace rtd::host {

namespace {

std::string JoinSpeeds(const std::vector<int>& speeds, const char* last) {
    std::string list;
    for (size_t i = 0; i < speeds.size(); ++i)
        list += (i == 0 ? "" : i + 1 == speeds.size() ? last : ", ") + std::to_string(speeds[i]);
    return list;
}

// Every speed some adapter can set, in increasing order.
std::vector<int> KnownSpeeds(const std::vector<BusKind>& kinds) {
    std::vector<int> speeds;
    for (const BusKind& k : kinds)
        speeds.insert(speeds.end(), k.speedsKhz.begin(), k.speedsKhz.end());
    std::sort(speeds.begin(), speeds.end());
    speeds.erase(std::unique(speeds.begin(), speeds.end()), speeds.end());
    return speeds;
}

} // namespace

const std::vector<BusKind>& BusKinds() {
    static const std::vector<BusKind> kinds = [] {
        std::vector<BusKind> rows = {SimBusKind(), I2cDevBusKind(), ch341::Ch341BusKind(),
                                     ftdi::FtdiBusKind(), mcp2221::Mcp2221BusKind()};
        // The chip model has no clock: it runs at any speed an adapter can set.
        rows[0].speedsKhz = KnownSpeeds(rows);
        return rows;
    }();
    return kinds;
}

const BusKind* FindBusKind(const std::string& bus) {
    const auto& kinds = BusKinds();
    const auto it =
        std::find_if(kinds.begin(), kinds.end(), [&](const BusKind& k) { return k.matches(bus); });
    return it == kinds.end() ? nullptr : &*it;
}

bool CheckBus(BusOptions* o, const std::string& speedText, std::string* error) {
    const BusKind* kind = FindBusKind(o->bus);
    if (!kind) {
        std::string names;
        for (const BusKind& k : BusKinds())
            names += std::string(names.empty() ? "" : ", ") + k.synopsis;
        *error = "--bus takes " + names + ", not '" + o->bus + "'";
        return false;
    }
    if (!kind->check(o->bus, error))
        return false;
    if (speedText.empty())
        return true;
    const std::vector<int> known = KnownSpeeds(BusKinds());
    const auto speed = std::find_if(known.begin(), known.end(),
                                    [&](int k) { return std::to_string(k) == speedText; });
    if (speed == known.end()) {
        *error =
            "--bus-speed takes " + JoinSpeeds(known, " or ") + " (kHz), not '" + speedText + "'";
        return false;
    }
    o->busSpeedKhz = *speed;
    const std::vector<int>& speeds = kind->speedsKhz;
    if (speeds.empty()) {
        *error = "--bus-speed does not apply to " + o->bus + ": the system sets its clock";
        return false;
    }
    if (std::find(speeds.begin(), speeds.end(), o->busSpeedKhz) == speeds.end()) {
        *error = "--bus-speed " + speedText + ": " + o->bus + " runs at " +
                 JoinSpeeds(speeds, ", ") + " kHz";
        return false;
    }
    return true;
}

std::unique_ptr<HostBus> CreateHostBus(const BusOptions& options, Trace* trace,
                                       std::string* error) {
    const BusKind* kind = FindBusKind(options.bus);
    if (!kind) {
        *error = "unknown bus '" + options.bus + "'";
        return nullptr;
    }
    return kind->open(BusSetup{options, trace}, error);
}

} // namespace rtd::host

#include "bus/BusTable.h"

#include <algorithm>

#include "adapters/ch341/Ch341Bus.h"
#include "adapters/ftdi/FtdiBus.h"
#include "bus/SimulatedBus.h"
#include "linux/I2cDevAdapter.h"

namespace rtd::host {

namespace {

bool IsSim(const std::string& bus) {
    return bus == "sim";
}

bool IsDevicePath(const std::string& bus) {
    return bus.find('/') != std::string::npos;
}

bool AnyText(const std::string&, std::string*) {
    return true;
}

} // namespace

std::string BusName(const std::string& bus) {
    return bus.substr(0, bus.find(':'));
}

std::string BusDevice(const std::string& bus) {
    const size_t colon = bus.find(':');
    return colon == std::string::npos ? "" : bus.substr(colon + 1);
}

bool IsModelBus(const std::string& bus) {
    const std::string device = BusDevice(bus);
    return IsSim(bus) || (!IsDevicePath(bus) && device.substr(0, device.find(':')) == "model");
}

int BusSpeedKhz(const Options& options) {
    return options.busSpeedKhz ? options.busSpeedKhz : 100;
}

const std::vector<BusKind>& BusKinds() {
    // clang-format off
    static const std::vector<BusKind> kinds = {
        {"chip model", "sim", IsSim, AnyText, {20, 100, 400, 750}, OpenSimulatedBus, nullptr},
        {"i2c-dev adapters", "/dev/i2c-N", IsDevicePath, AnyText, {}, OpenI2cDevBus,
         ListI2cDevBuses},
        {"CH341A adapters", "ch341[:N], ch341:model", ch341::MatchesCh341Bus,
         ch341::CheckCh341Bus, {20, 100, 400, 750}, ch341::OpenCh341Bus, ch341::ListCh341Buses},
        {"FTDI MPSSE adapters (FT232H, FT2232H, FT4232H)",
         "ftdi[:N|SERIAL][:A-D], ftdi:model[:CHIP]", ftdi::MatchesFtdiBus, ftdi::CheckFtdiBus,
         {100, 400}, ftdi::OpenFtdiBus, ftdi::ListFtdiBuses},
    };
    // clang-format on
    return kinds;
}

const BusKind* FindBusKind(const std::string& bus) {
    const auto& kinds = BusKinds();
    const auto it =
        std::find_if(kinds.begin(), kinds.end(), [&](const BusKind& k) { return k.matches(bus); });
    return it == kinds.end() ? nullptr : &*it;
}

std::unique_ptr<HostBus> CreateHostBus(const Options& options, Trace* trace, std::string* error) {
    const BusKind* kind = FindBusKind(options.bus);
    if (!kind) {
        *error = "unknown bus '" + options.bus + "'";
        return nullptr;
    }
    return kind->open(BusSetup{options, trace}, error);
}

} // namespace rtd::host

#include "BusKind.h"

namespace rtd::host {

std::string BusName(const std::string& bus) {
    return bus.substr(0, bus.find(':'));
}

std::string BusDevice(const std::string& bus) {
    const size_t colon = bus.find(':');
    return colon == std::string::npos ? "" : bus.substr(colon + 1);
}

bool IsModelBus(const std::string& bus) {
    const std::string device = BusDevice(bus);
    const bool devicePath = bus.find('/') != std::string::npos;
    return bus == "sim" || (!devicePath && device.substr(0, device.find(':')) == "model");
}

bool AnyBusText(const std::string&, std::string*) {
    return true;
}

} // namespace rtd::host

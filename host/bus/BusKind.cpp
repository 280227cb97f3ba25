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

bool BusIndex(const std::string& device, int maxIndex, int* index) {
    if (device.empty()) {
        *index = 0;
        return true;
    }
    if (device.size() > 2 || device.find_first_not_of("0123456789") != std::string::npos)
        return false;
    *index = std::stoi(device);
    return *index <= maxIndex;
}

bool AnyBusText(const std::string&, std::string*) {
    return true;
}

} // namespace rtd::host

// i2c-dev exists on Linux only.
#include "I2cDevBus.h"

namespace rtd::host {

std::unique_ptr<HostBus> OpenI2cDevBus(const BusSetup& setup, std::string* error) {
    *error = "i2c-dev adapters (" + setup.options.bus +
             ") exist on Linux only; `isphost buses` "
             "lists the adapters here";
    return nullptr;
}

std::vector<BusListing> ListI2cDevBuses(std::string* note) {
    *note = "none (Linux only)";
    return {};
}

} // namespace rtd::host

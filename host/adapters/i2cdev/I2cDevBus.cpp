#include "I2cDevBus.h"

namespace rtd::host {

namespace {

bool IsDevicePath(const std::string& bus) {
    return bus.find('/') != std::string::npos;
}

} // namespace

const BusKind& I2cDevBusKind() {
    // The system sets an i2c-dev adapter's clock: no speeds.
    static const BusKind kind = {"i2c-dev adapters", "/dev/i2c-N",   IsDevicePath, AnyBusText, {},
                                 OpenI2cDevBus,      ListI2cDevBuses};
    return kind;
}

} // namespace rtd::host

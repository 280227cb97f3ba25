// --bus /dev/i2c-N: a Linux i2c-dev adapter, and the i2c-dev part of `isphost buses`.
// Elsewhere the bus is refused and the list is empty (I2cDevNone.cpp).
#ifndef RTD_HOST_ADAPTERS_I2CDEV_I2CDEVBUS_H
#define RTD_HOST_ADAPTERS_I2CDEV_I2CDEVBUS_H

#include <memory>
#include <string>
#include <vector>

#include "BusKind.h"

namespace rtd::host {

// The i2c-dev row of the bus table.
const BusKind& I2cDevBusKind();

// The transport of this build (I2cDevAdapter.cpp or I2cDevNone.cpp).
std::unique_ptr<HostBus> OpenI2cDevBus(const BusSetup& setup, std::string* error);
std::vector<BusListing> ListI2cDevBuses(std::string* note);

} // namespace rtd::host

#endif

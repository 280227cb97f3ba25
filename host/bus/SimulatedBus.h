// --bus sim: the chip model behind the limits of --sim-adapter (bus/SimAdapter.h).
#ifndef RTD_HOST_BUS_SIMULATEDBUS_H
#define RTD_HOST_BUS_SIMULATEDBUS_H

#include <memory>
#include <string>

#include "bus/BusTable.h"

namespace rtd::host {

std::unique_ptr<HostBus> OpenSimulatedBus(const BusSetup& setup, std::string* error);

} // namespace rtd::host

#endif

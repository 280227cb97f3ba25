// --bus sim: the chip model behind the limits of --sim-adapter (SimAdapter.h).
#ifndef RTD_HOST_ADAPTERS_SIM_SIMULATEDBUS_H
#define RTD_HOST_ADAPTERS_SIM_SIMULATEDBUS_H

#include "BusKind.h"

namespace rtd::host {

// The chip model's row of the bus table. The model has no clock to set, so its speeds are
// left empty here and the table gives it every speed an adapter can set.
const BusKind& SimBusKind();

} // namespace rtd::host

#endif

// --bus ch341[:N] and ch341:model, and the CH341A part of `isphost buses`.
//   ch341, ch341:N   the N-th CH341A (from 0): libusb on Linux, CH341DLL.DLL on Windows
//   ch341:model      the encoder's packets decoded by the adapter model, into the chip model
#ifndef RTD_HOST_ADAPTERS_CH341_CH341BUS_H
#define RTD_HOST_ADAPTERS_CH341_CH341BUS_H

#include <memory>
#include <string>
#include <vector>

#include "BusKind.h"

namespace rtd::host::ch341 {

// The CH341A's row of the bus table.
const BusKind& Ch341BusKind();

// The transport of this build (Ch341Usb.cpp, Ch341Dll.cpp or Ch341None.cpp).
std::unique_ptr<HostBus> OpenCh341Device(int index, int speedKhz, Trace* trace, std::string* error);
std::vector<BusListing> ListCh341Devices(std::string* note);

} // namespace rtd::host::ch341

#endif

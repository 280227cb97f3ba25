// A build without a CH341A transport (no libusb-1.0 at configure time): only the model.
#include "Ch341Bus.h"

namespace rtd::host::ch341 {

namespace {
constexpr const char* kMissing =
    "this isphost was built without libusb-1.0, which CH341A adapters need (install "
    "libusb-1.0-0-dev and rebuild); --bus ch341:model still works";
}

std::unique_ptr<HostBus> OpenCh341Device(int, int, Trace*, std::string* error) {
    *error = kMissing;
    return nullptr;
}

std::vector<BusListing> ListCh341Devices(std::string* note) {
    *note = kMissing;
    return {};
}

} // namespace rtd::host::ch341

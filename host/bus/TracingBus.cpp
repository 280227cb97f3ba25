#include "TracingBus.h"

namespace rtd::host {

bool TracingBus::IicWrite(uint8_t address, int count, const uint8_t* data) {
    trace_->Bus('W', address, count, data);
    return ForwardingBus::IicWrite(address, count, data);
}

bool TracingBus::IicRead(uint8_t address, int count, uint8_t* data) {
    const bool ok = ForwardingBus::IicRead(address, count, data);
    trace_->Bus('R', address, count, data);
    return ok;
}

} // namespace rtd::host

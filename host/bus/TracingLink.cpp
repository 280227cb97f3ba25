#include "TracingLink.h"

namespace rtd::host {

bool TracingLink::Send(const std::vector<uint8_t>& data, std::string* error) {
    trace_->Adapter(true, data);
    return inner_->Send(data, error);
}

bool TracingLink::Receive(size_t size, std::vector<uint8_t>* data, std::string* error) {
    const bool ok = inner_->Receive(size, data, error);
    trace_->Adapter(false, *data);
    return ok;
}

} // namespace rtd::host

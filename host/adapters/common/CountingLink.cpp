#include "CountingLink.h"

namespace rtd::host {

bool CountingLink::Send(const std::vector<uint8_t>& data, std::string* error) {
    ++counts_.transfersOut;
    counts_.bytesOut += static_cast<int64_t>(data.size());
    answerHeldBack_ = flushes_ && !flushes_(data);
    return inner_->Send(data, error);
}

bool CountingLink::Receive(size_t size, std::vector<uint8_t>* data, std::string* error) {
    const bool ok = inner_->Receive(size, data, error);
    ++counts_.transfersIn;
    counts_.bytesIn += static_cast<int64_t>(data->size());
    if (answerHeldBack_)
        ++counts_.latencyWaits; // once per request, however many reads collect its answer
    answerHeldBack_ = false;
    return ok;
}

} // namespace rtd::host

// A link decorator that counts the USB transfers and bytes that pass, for --stats and the
// USB time it projects. Only what reaches the device is counted: it sits right above the
// transport (or a dry run's protocol model).
#ifndef RTD_HOST_ADAPTERS_COMMON_COUNTINGLINK_H
#define RTD_HOST_ADAPTERS_COMMON_COUNTINGLINK_H

#include <functional>

#include "ByteLink.h"
#include "UsbCounts.h"

namespace rtd::host {

class CountingLink : public ByteLink {
public:
    // `flushes` tells whether the adapter sends the answer to a request at once; without
    // it every answer is sent at once. An answer that is not costs a latency wait.
    using Flushes = std::function<bool(const std::vector<uint8_t>& request)>;
    CountingLink(ByteLink* inner, double roundTripSeconds, double latencySeconds = 0,
                 Flushes flushes = {})
        : inner_(inner), flushes_(std::move(flushes)) {
        counts_.roundTripSeconds = roundTripSeconds;
        counts_.latencySeconds = latencySeconds;
    }

    bool Send(const std::vector<uint8_t>& data, std::string* error) override;
    bool Receive(size_t size, std::vector<uint8_t>* data, std::string* error) override;

    const UsbCounts& Counts() const { return counts_; }

private:
    ByteLink* inner_;
    Flushes flushes_;
    UsbCounts counts_;
    bool answerHeldBack_ = false; // the last request's answer waits for the latency timer
};

} // namespace rtd::host

#endif

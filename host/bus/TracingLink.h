// A link decorator that records every transfer in the trace as an adapter line:
//   A > AA 74 80 94 ...   bytes sent to the adapter
//   A < 00 40             bytes received from it
// A failed transfer is traced too, with what it moved, so the trace shows where it broke.
#ifndef RTD_HOST_BUS_TRACINGLINK_H
#define RTD_HOST_BUS_TRACINGLINK_H

#include "ByteLink.h"
#include "Trace.h"

namespace rtd::host {

class TracingLink : public ByteLink {
public:
    TracingLink(ByteLink* inner, Trace* trace) : inner_(inner), trace_(trace) {}
    bool Send(const std::vector<uint8_t>& data, std::string* error) override;
    bool Receive(size_t size, std::vector<uint8_t>* data, std::string* error) override;

private:
    ByteLink* inner_;
    Trace* trace_;
};

} // namespace rtd::host

#endif

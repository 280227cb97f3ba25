// A bus decorator that records every transfer in the trace and passes it on unchanged.
#ifndef RTD_HOST_BUS_TRACINGBUS_H
#define RTD_HOST_BUS_TRACINGBUS_H

#include "ForwardingBus.h"
#include "Trace.h"

namespace rtd::host {

class TracingBus : public ForwardingBus {
public:
    TracingBus(TIicInterface* inner, Trace* trace) : ForwardingBus(inner), trace_(trace) {}
    virtual ~TracingBus() = default;

    bool IicWrite(uint8_t address, int count, const uint8_t* data) override;
    // Records the bytes the buffer holds after the read, whatever the inner bus reported.
    bool IicRead(uint8_t address, int count, uint8_t* data) override;

private:
    Trace* trace_;
};

} // namespace rtd::host

#endif

// The base of a bus decorator (counting, tracing, diagnosing, recording, failing on
// purpose): every transfer is passed on to the bus under it, and a decorator overrides
// only what it watches or changes. Without a bus under it, writes vanish and reads fail,
// leaving the buffer as it was.
#ifndef RTD_HOST_BUS_FORWARDINGBUS_H
#define RTD_HOST_BUS_FORWARDINGBUS_H

#include "rtd2120/rtd2120.h"

namespace rtd::host {

class ForwardingBus : public TIicInterface {
public:
    bool IicWrite(uint8_t address, int count, const uint8_t* data) override {
        return inner_ ? inner_->IicWrite(address, count, data) : true;
    }
    bool IicRead(uint8_t address, int count, uint8_t* data) override {
        return inner_ ? inner_->IicRead(address, count, data) : false;
    }
    void SetInner(TIicInterface* inner) { inner_ = inner; }

protected:
    explicit ForwardingBus(TIicInterface* inner) : inner_(inner) {}

private:
    TIicInterface* inner_;
};

} // namespace rtd::host

#endif

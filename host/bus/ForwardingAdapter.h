// The base of an adapter bundled with the parts under it (a transport and its trace, or
// a model): the bundle owns them and passes every call on to the adapter proper.
#ifndef RTD_HOST_BUS_FORWARDINGADAPTER_H
#define RTD_HOST_BUS_FORWARDINGADAPTER_H

#include "I2cAdapter.h"

namespace rtd::host {

class ForwardingAdapter : public I2cAdapter {
public:
    AdapterCapabilities Capabilities() const override { return inner_->Capabilities(); }
    bool Write(uint8_t address, const uint8_t* data, int count, std::string* error) override {
        return inner_->Write(address, data, count, error);
    }
    bool Read(uint8_t address, uint8_t* data, int count, std::string* error) override {
        return inner_->Read(address, data, count, error);
    }
    bool TakesWrite(int count) override { return inner_->TakesWrite(count); }

protected:
    explicit ForwardingAdapter(I2cAdapter* inner) : inner_(inner) {}

private:
    I2cAdapter* inner_;
};

} // namespace rtd::host

#endif

// An I2cAdapter over a bus object that already works in whole transfers (the chip model):
// a transfer it refuses counts as not acknowledged.
#ifndef RTD_HOST_BUS_INTERFACEADAPTER_H
#define RTD_HOST_BUS_INTERFACEADAPTER_H

#include "I2cAdapter.h"
#include "rtd2120/rtd2120.h"

namespace rtd::host {

class InterfaceAdapter : public I2cAdapter {
public:
    InterfaceAdapter(TIicInterface* bus, AdapterCapabilities capabilities)
        : bus_(bus), capabilities_(std::move(capabilities)) {}

    AdapterCapabilities Capabilities() const override { return capabilities_; }
    bool Write(uint8_t address, const uint8_t* data, int count, std::string* error) override {
        if (bus_->IicWrite(address, count, data))
            return true;
        *error = "not acknowledged";
        return false;
    }
    bool Read(uint8_t address, uint8_t* data, int count, std::string* error) override {
        if (bus_->IicRead(address, count, data))
            return true;
        *error = "not acknowledged";
        return false;
    }

private:
    TIicInterface* bus_;
    AdapterCapabilities capabilities_;
};

} // namespace rtd::host

#endif

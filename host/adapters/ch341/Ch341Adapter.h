// The CH341A as an I2cAdapter over a byte link (libusb's bulk endpoints, or the model in
// a dry run): each transaction is one bulk OUT transfer of chained stream packets and one
// read of its answer. The adapter reports the address byte's acknowledge only; a data
// byte the chip did not take goes unseen here (the plug-in's CRC check finds what it
// spoiled). After a failed transfer a lone STOP releases the bus.
#ifndef RTD_HOST_ADAPTERS_CH341_CH341ADAPTER_H
#define RTD_HOST_ADAPTERS_CH341_CH341ADAPTER_H

#include <string>

#include "ByteLink.h"
#include "Ch341Encoder.h"
#include "I2cAdapter.h"

namespace rtd::host::ch341 {

// The CH341A is a full-speed device: the host controller schedules its transfers in 1 ms
// frames, so a request and its answer take a frame at least.
constexpr double kRoundTripSeconds = 0.001;

class Ch341Adapter : public I2cAdapter {
public:
    Ch341Adapter(ByteLink* link, std::string name) : link_(link), name_(std::move(name)) {}

    // Sends the clock setting. False, with a reason, when the link fails.
    bool SetSpeed(int khz, std::string* error);

    AdapterCapabilities Capabilities() const override;
    bool Write(uint8_t address, const uint8_t* data, int count, std::string* error) override;
    // On a read whose address is not acknowledged, `data` still gets what the bus read
    // (0xFF from the pull-ups).
    bool Read(uint8_t address, uint8_t* data, int count, std::string* error) override;

    // Whether the last failure was the link's rather than the chip's.
    bool LinkFailed() const { return linkFailed_; }

private:
    // Sends one transfer and reads its answer; false on a link failure (then a STOP).
    bool Exchange(const Transfer& transfer, std::vector<uint8_t>* answer, std::string* error);
    void Release();

    ByteLink* link_;
    std::string name_;
    bool linkFailed_ = false;
};

} // namespace rtd::host::ch341

#endif

// The CH341A as an I2cAdapter over a byte link (libusb's bulk endpoints, or the model in
// a dry run): each transaction is encoded into stream packets, sent one packet at a time
// with its answer read back before the next, so the adapter never holds more than one
// packet's answer and a byte that is not acknowledged stops the write at that packet.
// After a failure a lone STOP releases the bus.
#ifndef RTD_HOST_ADAPTERS_CH341_CH341ADAPTER_H
#define RTD_HOST_ADAPTERS_CH341_CH341ADAPTER_H

#include <string>

#include "ByteLink.h"
#include "Ch341Encoder.h"
#include "I2cAdapter.h"

namespace rtd::host::ch341 {

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
    // Sends one packet and reads its answer; false on a link failure (then a STOP).
    bool Exchange(const Packet& packet, std::vector<uint8_t>* answer, std::string* error);
    void Release();

    ByteLink* link_;
    std::string name_;
    bool linkFailed_ = false;
};

} // namespace rtd::host::ch341

#endif

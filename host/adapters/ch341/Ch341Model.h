// The CH341A in a dry run: a byte link that decodes what the host sends, packet by
// packet, plays the bus events into an I2cWireModel and queues the answers the adapter
// would send back (the acknowledge byte of a bare 0x80, bytes read). A bulk transfer
// longer than 32 bytes is taken as packets chained on 32-byte boundaries. A framing
// error (counted; the rest of the packet is ignored) is what the adapter is not known to
// take: a packet that does not start with 0xAA, a command cut off by the packet's end,
// an unknown command, a second bare 0x80 in one packet.
#ifndef RTD_HOST_ADAPTERS_CH341_CH341MODEL_H
#define RTD_HOST_ADAPTERS_CH341_CH341MODEL_H

#include <deque>

#include "ByteLink.h"
#include "I2cWireModel.h"

namespace rtd::host::ch341 {

class Ch341Model : public ByteLink {
public:
    explicit Ch341Model(I2cWireModel* wire) : wire_(wire) {}

    // Answers of an earlier transfer that were never read are dropped.
    bool Send(const std::vector<uint8_t>& data, std::string* error) override;
    // Fails, as a real adapter's read times out, when fewer bytes are waiting.
    bool Receive(size_t size, std::vector<uint8_t>* data, std::string* error) override;

    int SpeedKhz() const { return speedKhz_; }
    int FramingErrors() const { return framingErrors_; }

private:
    void Packet(const uint8_t* bytes, size_t size);

    I2cWireModel* wire_;
    std::deque<uint8_t> answers_;
    int speedKhz_ = 20; // the adapter's clock after power-up
    int framingErrors_ = 0;
};

} // namespace rtd::host::ch341

#endif

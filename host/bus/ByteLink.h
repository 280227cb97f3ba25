// The byte pipe between the host and an adapter chip: what a transport moves (the USB
// bulk endpoints through libusb or libftdi) and what a protocol model answers in a dry
// run. An adapter's encoder writes requests to a link and reads the answers back; the
// tracing and fault decorators below wrap any link.
#ifndef RTD_HOST_BUS_BYTELINK_H
#define RTD_HOST_BUS_BYTELINK_H

#include <cstdint>
#include <string>
#include <vector>

namespace rtd::host {

class ByteLink {
public:
    virtual ~ByteLink() = default;
    // Sends all of `data` (one USB transfer). False, with a one-line reason, when the
    // transfer failed.
    virtual bool Send(const std::vector<uint8_t>& data, std::string* error) = 0;
    // Receives exactly `size` bytes into `data` (replacing its contents). False, with a
    // reason, when fewer came before the adapter's timeout.
    virtual bool Receive(size_t size, std::vector<uint8_t>* data, std::string* error) = 0;
};

} // namespace rtd::host

#endif

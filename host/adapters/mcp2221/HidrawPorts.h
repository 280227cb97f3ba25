// MCP2221A devices through Linux hidraw, with no library: /sys/class/hidraw/*/device/uevent
// names each HID device's USB id (HID_ID=0003:000004D8:000000DD), /dev/hidrawN moves its
// reports. The calls to the system are behind HidrawCalls, which tests replace with one
// that plays the device.
#ifndef RTD_HOST_ADAPTERS_MCP2221_HIDRAWPORTS_H
#define RTD_HOST_ADAPTERS_MCP2221_HIDRAWPORTS_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "Mcp2221Ports.h"

namespace rtd::host::mcp2221 {

// The few system calls the transport makes; failures give errno (positive).
class HidrawCalls {
public:
    virtual ~HidrawCalls() = default;
    // Entries of /sys/class/hidraw ("hidraw0", ...), in any order.
    virtual std::vector<std::string> ClassEntries() = 0;
    // The text of a sysfs file; false when it cannot be read.
    virtual bool ReadText(const std::string& path, std::string* text) = 0;
    // open(O_RDWR) and flock(LOCK_EX | LOCK_NB): a descriptor, or -errno.
    virtual int OpenLocked(const std::string& path) = 0;
    // write(); the count written or -errno.
    virtual long Write(int fd, const uint8_t* data, size_t size) = 0;
    // poll() for input, then read(): the count read, 0 on a timeout, or -errno.
    virtual long Read(int fd, uint8_t* data, size_t size, int timeoutMs) = 0;
    virtual void Close(int fd) = 0;
    virtual std::string ErrorText(int error) = 0;
};

class HidrawPorts : public Mcp2221Ports {
public:
    explicit HidrawPorts(HidrawCalls* calls) : calls_(calls) {}
    std::vector<HidPort> List(std::string* note) override;
    std::unique_ptr<ByteLink> Open(const HidPort& port, std::string* error) override;

private:
    HidrawCalls* calls_;
};

// The value of `key` in a uevent text ("HID_ID"), empty when it is missing.
std::string UeventValue(const std::string& text, const std::string& key);
// Whether a HID_ID value names the MCP2221A on USB.
bool IsMcp2221HidId(const std::string& hidId);

} // namespace rtd::host::mcp2221

#endif

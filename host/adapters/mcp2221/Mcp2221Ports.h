// Where MCP2221A devices come from: the system's HID devices with USB id 04D8:00DD, each
// opened as a report link (64-byte reports out and in; the transport adds and strips the
// report ID). hidraw on Linux, the HID API on Windows; tests give either transport a
// stand-in for the system calls under it.
#ifndef RTD_HOST_ADAPTERS_MCP2221_MCP2221PORTS_H
#define RTD_HOST_ADAPTERS_MCP2221_MCP2221PORTS_H

#include <memory>
#include <string>
#include <vector>

#include "ByteLink.h"

namespace rtd::host::mcp2221 {

constexpr unsigned kVendor = 0x04D8;
constexpr unsigned kProduct = 0x00DD;
// How long one report may take each way before the transfer counts as failed.
constexpr int kTimeoutMs = 1000;

struct HidPort {
    std::string path; // the system's name: /dev/hidraw3, \\?\hid#vid_04d8&pid_00dd...
    std::string what; // for `isphost buses`
};

class Mcp2221Ports {
public:
    virtual ~Mcp2221Ports() = default;
    // The attached MCP2221A devices, in the order mcp2221:N counts them. `note` gets a line
    // when the system could not look.
    virtual std::vector<HidPort> List(std::string* note) = 0;
    // The device claimed for this process alone: null with a one-line reason, "bus busy:
    // ..." when another program holds it.
    virtual std::unique_ptr<ByteLink> Open(const HidPort& port, std::string* error) = 0;
};

// The ports of this system (hidraw, the HID API, or none).
Mcp2221Ports& SystemPorts();

} // namespace rtd::host::mcp2221

#endif

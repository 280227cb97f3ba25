// MCP2221A devices through the Windows HID API, with nothing to install: SetupDi lists the
// HID device interfaces, HidD_GetAttributes tells their USB id, and overlapped
// ReadFile/WriteFile with a timeout move the 65-byte reports (a report ID of 0, then the
// 64 bytes). The calls to the system are behind WinHidCalls, which tests replace with one
// that plays the device; the logic here is plain C++ and runs on any system.
#ifndef RTD_HOST_ADAPTERS_MCP2221_WINHIDPORTS_H
#define RTD_HOST_ADAPTERS_MCP2221_WINHIDPORTS_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "Mcp2221Ports.h"

namespace rtd::host::mcp2221 {

// Windows error codes the transport tells apart.
constexpr unsigned long kWinAccessDenied = 5;      // ERROR_ACCESS_DENIED
constexpr unsigned long kWinSharingViolation = 32; // ERROR_SHARING_VIOLATION
constexpr unsigned long kWinNotConnected = 1167;   // ERROR_DEVICE_NOT_CONNECTED
constexpr unsigned long kWinTimeout = 1460;        // ERROR_TIMEOUT

class WinHidCalls {
public:
    using Handle = void*; // null: none
    virtual ~WinHidCalls() = default;
    // The device paths of the HID interfaces present (SetupDi).
    virtual std::vector<std::string> DevicePaths() = 0;
    // CreateFile: shared for a look at the attributes, else for this process alone.
    virtual Handle Open(const std::string& path, bool exclusive, unsigned long* error) = 0;
    // HidD_GetAttributes.
    virtual bool Attributes(Handle h, unsigned* vendor, unsigned* product) = 0;
    // HidD_FlushQueue: drops the input reports waiting.
    virtual void Flush(Handle h) = 0;
    // HidD_GetSerialNumberString, empty when there is none.
    virtual std::string Serial(Handle h) = 0;
    // Overlapped WriteFile / ReadFile, cancelled after `timeoutMs`: false with the error.
    virtual bool Write(Handle h, const uint8_t* data, size_t size, int timeoutMs,
                       unsigned long* error) = 0;
    virtual bool Read(Handle h, uint8_t* data, size_t size, size_t* got, int timeoutMs,
                      unsigned long* error) = 0;
    virtual void Close(Handle h) = 0;
    virtual std::string ErrorText(unsigned long error) = 0;
};

class WinHidPorts : public Mcp2221Ports {
public:
    explicit WinHidPorts(WinHidCalls* calls) : calls_(calls) {}
    std::vector<HidPort> List(std::string* note) override;
    std::unique_ptr<ByteLink> Open(const HidPort& port, std::string* error) override;

private:
    WinHidCalls* calls_;
};

} // namespace rtd::host::mcp2221

#endif

// The MCP2221A as an I2cAdapter over a report link (the HID device, or the model in a dry
// run): one 64-byte report out, its answer back, then the next. A write goes out in
// 60-byte reports and its outcome is read from the status answers that follow; a read is
// requested, then fetched with Get I2C Data. After any failure the engine is cancelled
// before the next transfer.
#ifndef RTD_HOST_ADAPTERS_MCP2221_MCP2221ADAPTER_H
#define RTD_HOST_ADAPTERS_MCP2221_MCP2221ADAPTER_H

#include <string>

#include "ByteLink.h"
#include "I2cAdapter.h"
#include "Mcp2221Encoder.h"

namespace rtd::host::mcp2221 {

class Mcp2221Adapter : public I2cAdapter {
public:
    Mcp2221Adapter(ByteLink* link, std::string name) : link_(link), name_(std::move(name)) {}

    // Brings the engine to idle (a cancel only when it is not) and sets the clock. False,
    // with a reason, when the link fails or the chip refuses the speed.
    bool Begin(int khz, std::string* error);

    AdapterCapabilities Capabilities() const override;
    bool Write(uint8_t address, const uint8_t* data, int count, std::string* error) override;
    bool Read(uint8_t address, uint8_t* data, int count, std::string* error) override;

private:
    // One report out and its answer, which must echo the command. False on a link failure.
    bool Exchange(const Report& request, Report* answer, std::string* error);
    // Sends `request` again while the chip answers busy.
    bool SendTaken(const Report& request, std::string* error);
    // Polls the status until the engine is idle; names a NACK or a timeout.
    bool AwaitIdle(std::string* error);
    // Cancels the transfer under way and waits for the engine to come back to idle.
    bool Recover(std::string* error);
    bool Fail(const std::string& reason, std::string* error);

    ByteLink* link_;
    std::string name_;
    int divider_ = -1;
    bool dirty_ = false; // a transfer failed: cancel before the next one
};

} // namespace rtd::host::mcp2221

#endif

// The MCP2221A's HID command set, as far as I2C goes: pure functions from one request to
// the 64-byte output report, and from the 64-byte input report back to what it says.
// Every request is answered by one report that starts with the request's command byte.
//   10  Status/Set Parameters: the engine's state; cancels a transfer, sets the divider
//   90  I2C Write Data: length (low byte first), address byte, up to 60 data bytes; a
//       longer write repeats the header in each report, one transaction on the bus
//   91  I2C Read Data: length, address byte; the chip reads them all into its buffer
//   40  Get I2C Data: up to 60 of the bytes read
// A report answers "taken" before the bus has moved: a missing acknowledge shows only in
// the next status answer (state 25 and bit 6 of byte 20).
#ifndef RTD_HOST_ADAPTERS_MCP2221_MCP2221ENCODER_H
#define RTD_HOST_ADAPTERS_MCP2221_MCP2221ENCODER_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace rtd::host::mcp2221 {

using Report = std::vector<uint8_t>; // always kReportSize bytes, no report ID

constexpr size_t kReportSize = 64;
constexpr int kChunk = 60;        // data bytes in one write report or one Get I2C Data answer
constexpr int kMaxLength = 65535; // the 16-bit length field

constexpr uint8_t kStatus = 0x10;
constexpr uint8_t kWrite = 0x90;
constexpr uint8_t kRead = 0x91;
constexpr uint8_t kGetData = 0x40;

// Byte 1 of an answer.
constexpr uint8_t kTaken = 0x00;
constexpr uint8_t kBusy = 0x01;     // write/read: the engine is busy, the report was dropped
constexpr uint8_t kNoData = 0x41;   // Get I2C Data: nothing read yet
constexpr uint8_t kReadError = 127; // byte 3 of a Get I2C Data answer

// Status request and answer bytes.
constexpr uint8_t kCancel = 0x10;       // byte 2 of the request
constexpr uint8_t kSetSpeed = 0x20;     // byte 3 of the request
constexpr uint8_t kCancelling = 0x10;   // byte 2 of the answer: transfer marked for cancel
constexpr uint8_t kAlreadyIdle = 0x11;  // byte 2 of the answer
constexpr uint8_t kSpeedTaken = 0x20;   // byte 3 of the answer
constexpr uint8_t kSpeedRefused = 0x21; // byte 3 of the answer: a transfer is under way
constexpr size_t kStateByte = 8;
constexpr size_t kSentLow = 11; // bytes 11-12: data bytes already transferred
constexpr size_t kAckByte = 20;
constexpr uint8_t kNackBit = 0x40;

// I2C engine states (byte 8 of a status answer, byte 2 of the others).
constexpr uint8_t kIdle = 0x00;
constexpr uint8_t kAddressNack = 0x25;
constexpr uint8_t kSendingData = 0x41;
constexpr uint8_t kReadDone = 0x55;
// The states in which the engine gave up waiting on the bus (SCL or SDA held).
bool IsTimeoutState(uint8_t state);

// The bus clocks offered (kHz) and the divider for each: 12 MHz / speed - 2.
const std::vector<int>& SpeedsKhz();
// The divider for `khz`, or -1 for a speed not offered.
int SpeedDivider(int khz);
// The clock a divider gives, in kHz (for the model).
int DividerKhz(uint8_t divider);

Report StatusRequest(bool cancel = false, int divider = -1);
// The reports of one write: `count` bytes after `address` (bit 0 clear), kChunk a report;
// a write of no bytes is one report.
std::vector<Report> WriteRequests(uint8_t address, const uint8_t* data, int count);
// `address` is the read address byte (bit 0 set), as the bus carries it.
Report ReadRequest(uint8_t address, int count);
Report GetDataRequest();

// What a status answer says about the transfer before it.
struct Status {
    bool valid = false; // a status answer, command completed
    uint8_t state = kIdle;
    bool nack = false;  // bit 6 of byte 20
    int sent = 0;       // data bytes transferred
    uint8_t cancel = 0; // byte 2
    uint8_t speed = 0;  // byte 3
};
Status ParseStatus(const Report& answer);

// "state 44" for the failure lines.
std::string StateText(uint8_t state);

} // namespace rtd::host::mcp2221

#endif

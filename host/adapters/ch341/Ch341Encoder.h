// The CH341A's I2C stream, one transaction at a time: pure functions of bytes.
//
// The stream goes in 32-byte packets, each opened with 0xAA and closed with 0x00; in
// between: 0x74 START, 0x75 STOP, 0x60+k bus clock (k = 0..3: 20, 100, 400, 750 kHz),
// 0x40+n / 0x50+n waits of n (bits 3-0) microseconds / milliseconds, 0x80+n with the n
// bytes it clocks out, 0xC0+n to clock n bytes in (each acknowledged). Two forms answer
// with a byte each: a bare 0x80 clocks out the one byte after it and answers its
// acknowledge bit (bit 7 set: not acknowledged); a bare 0xC0 clocks in one byte without
// acknowledging it, which ends a read.
//
// A transaction is one bulk transfer: its packets chained on 32-byte boundaries, the
// address byte as a bare 0x80 (the one acknowledge the adapter reports), the data in
// 0x80+n blocks, and its answer read once after it.
#ifndef RTD_HOST_ADAPTERS_CH341_CH341ENCODER_H
#define RTD_HOST_ADAPTERS_CH341_CH341ENCODER_H

#include <cstddef>
#include <cstdint>
#include <vector>

namespace rtd::host::ch341 {

constexpr uint8_t kStream = 0xAA;
constexpr uint8_t kStart = 0x74;
constexpr uint8_t kStop = 0x75;
constexpr uint8_t kEnd = 0x00;
constexpr uint8_t kSpeed = 0x60;
constexpr uint8_t kWait = 0x40; // 0x40+n microseconds, 0x50+n milliseconds
constexpr uint8_t kOut = 0x80;
constexpr uint8_t kIn = 0xC0;
constexpr uint8_t kLengthMask = 0x3F;      // n of 0x80+n and 0xC0+n
constexpr uint8_t kNotAcknowledged = 0x80; // in the answer byte of a bare 0x80
constexpr size_t kPacketSize = 32;
constexpr int kMaxReadPerPacket = 30; // bytes clocked in by one packet: its answer fits one
constexpr int kMaxRead = 255;

// One bulk OUT transfer and the number of bytes the adapter answers it with.
struct Transfer {
    std::vector<uint8_t> bytes;
    size_t answerSize = 0;
};

// START, the address byte, `count` data bytes, STOP. Answered by the address byte's
// acknowledge alone.
Transfer EncodeWrite(uint8_t address, const uint8_t* data, int count);
// START, the address byte, `count` bytes in (0 to kMaxRead), STOP. The answer is the
// address byte's acknowledge, then the bytes read.
Transfer EncodeRead(uint8_t address, int count);
// A STOP on its own, to end a transaction cut short.
Transfer EncodeStop();
// The highest adapter index the maker's driver numbers (ch341:0 to ch341:15).
constexpr int kMaxIndex = 15;
// The bus clocks the adapter has (kHz), by their setting k (0x60+k, the DLL's mode).
const std::vector<int>& SpeedsKhz();
// k for `khz`, or -1 for a speed the adapter does not have.
int SpeedSetting(int khz);
// The clock setting; false for a speed the adapter does not have.
bool EncodeSpeed(int khz, Transfer* transfer);

} // namespace rtd::host::ch341

#endif

// The CH341A's I2C stream, one transaction at a time: pure functions of bytes.
//
// Each USB packet (at most 32 bytes) starts with 0xAA (stream) and ends with 0x00 (end);
// in between: 0x74 START, 0x75 STOP, 0x60+k bus clock (k = 0..3: 20, 100, 400, 750 kHz),
// 0x80+n with n bytes to clock out, 0xC0+n to clock n bytes in (each acknowledged).
// Two forms answer with a byte each: a bare 0x80 clocks out the one byte after it and
// answers its acknowledge bit (bit 7 set: not acknowledged); a bare 0xC0 clocks in one
// byte without acknowledging it, which ends a read. Every byte of a write goes out as
// "80 bb", so each byte's acknowledge comes back with its packet's answer.
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
constexpr uint8_t kOut = 0x80;
constexpr uint8_t kIn = 0xC0;
constexpr uint8_t kNotAcknowledged = 0x80; // in an answer byte of a bare 0x80
constexpr size_t kPacketSize = 32;
constexpr int kMaxReadPerPacket = 30; // bytes clocked in by one packet
constexpr int kMaxRead = 255;

// One USB packet and the number of bytes the adapter answers it with.
struct Packet {
    std::vector<uint8_t> bytes;
    size_t answerSize = 0;
};

// START, the address byte, `count` data bytes, STOP. The answer of every packet is one
// acknowledge byte per byte it clocks out, the address byte first.
std::vector<Packet> EncodeWrite(uint8_t address, const uint8_t* data, int count);
// START, the address byte, `count` bytes in (0 to kMaxRead), STOP. The answers are the
// address byte's acknowledge, then the bytes read.
std::vector<Packet> EncodeRead(uint8_t address, int count);
// A STOP on its own, to end a transaction cut short.
Packet EncodeStop();
// The highest adapter index the maker's driver numbers (ch341:0 to ch341:15).
constexpr int kMaxIndex = 15;
// The bus clocks the adapter has (kHz), by their setting k (0x60+k, the DLL's mode).
const std::vector<int>& SpeedsKhz();
// k for `khz`, or -1 for a speed the adapter does not have.
int SpeedSetting(int khz);
// The clock setting; false for a speed the adapter does not have.
bool EncodeSpeed(int khz, Packet* packet);

} // namespace rtd::host::ch341

#endif

// The MPSSE command bytes the FTDI I2C encoder sends and its protocol model decodes, and
// the pins that carry the bus. One table for both sides, so they cannot disagree.
#ifndef RTD_HOST_ADAPTERS_FTDI_MPSSECOMMANDS_H
#define RTD_HOST_ADAPTERS_FTDI_MPSSECOMMANDS_H

#include <cstdint>

namespace rtd::host::ftdi {

namespace mpsse {
// Data shifting, most significant bit first. Lengths are sent as count - 1: two bytes
// (low, high) for byte counts, one byte for bit counts.
constexpr uint8_t kBytesOutOnFalling = 0x11; // LenL LenH, then the bytes
constexpr uint8_t kBitsOutOnFalling = 0x13;  // Len, then one byte whose top bits go out
constexpr uint8_t kBytesInOnRising = 0x20;   // LenL LenH; answers the bytes
constexpr uint8_t kBitsInOnRising = 0x22;    // Len; answers one byte, last bit in bit 0
// Pins and engine set-up.
constexpr uint8_t kSetLowPins = 0x80; // value, direction (1 = output) of ADBUS0-7
constexpr uint8_t kReadLowPins = 0x81;
constexpr uint8_t kSetHighPins = 0x82;
constexpr uint8_t kReadHighPins = 0x83;
constexpr uint8_t kLoopbackOn = 0x84;
constexpr uint8_t kLoopbackOff = 0x85;
constexpr uint8_t kClockDivisor = 0x86; // divisor low, divisor high
constexpr uint8_t kSendImmediate = 0x87;
constexpr uint8_t kDivideBy5Off = 0x8A; // 60 MHz base clock
constexpr uint8_t kDivideBy5On = 0x8B;  // 12 MHz base clock
constexpr uint8_t kThreePhaseOn = 0x8C;
constexpr uint8_t kThreePhaseOff = 0x8D;
constexpr uint8_t kAdaptiveOn = 0x96;
constexpr uint8_t kAdaptiveOff = 0x97;
constexpr uint8_t kDriveZeroOnly = 0x9E; // low mask, high mask; FT232H only
// An opcode the engine does not know is answered with kBadCommand and the opcode itself.
constexpr uint8_t kBadCommand = 0xFA;
} // namespace mpsse

// ADBUS0 is SCL, ADBUS1 drives SDA, ADBUS2 reads it back (ADBUS1 and ADBUS2 are tied).
constexpr uint8_t kPinScl = 0x01;
constexpr uint8_t kPinSdaOut = 0x02;
constexpr uint8_t kPinSdaIn = 0x04;

} // namespace rtd::host::ftdi

#endif

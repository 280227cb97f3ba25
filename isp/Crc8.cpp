#include <array>

#include "Ispunit.h"

namespace {

// CRC-8 with polynomial x^8 + x^2 + x + 1, most significant bit first (CRC-8/SMBUS); the
// chip computes the same over the range it is asked for.
constexpr std::array<uint8_t, 256> MakeCrc8Table() {
    std::array<uint8_t, 256> table{};
    for (int i = 0; i < 256; ++i) {
        uint8_t crc = static_cast<uint8_t>(i);
        for (int bit = 0; bit < 8; ++bit)
            crc = static_cast<uint8_t>((crc & 0x80) ? (crc << 1) ^ 0x07 : crc << 1);
        table[static_cast<size_t>(i)] = crc;
    }
    return table;
}

constexpr std::array<uint8_t, 256> kCrc8Table = MakeCrc8Table();

} // namespace

uint8_t TIspPort::Crc8(const uint8_t* data, int length) {
    uint8_t crc = 0x00;
    for (int i = 0; i < length; ++i)
        crc = kCrc8Table[crc ^ data[i]];
    return crc;
}

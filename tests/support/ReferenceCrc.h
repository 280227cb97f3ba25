// CRC-8/SMBUS (polynomial 0x07, initial value 0, no reflection, no final XOR) bit by bit:
// the reference every suite checks against, independent of the engine's table.
#ifndef RTD_TESTS_SUPPORT_REFERENCECRC_H
#define RTD_TESTS_SUPPORT_REFERENCECRC_H

#include <cstddef>
#include <cstdint>
#include <vector>

namespace rtd::test {

inline uint8_t ReferenceCrc8(const uint8_t* data, size_t length) {
    uint8_t crc = 0;
    for (size_t i = 0; i < length; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = static_cast<uint8_t>(crc & 0x80 ? (crc << 1) ^ 0x07 : crc << 1);
    }
    return crc;
}

inline uint8_t ReferenceCrc8(const std::vector<uint8_t>& data) {
    return ReferenceCrc8(data.data(), data.size());
}

} // namespace rtd::test

#endif

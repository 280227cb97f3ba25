// Bit strings for decoder tests: "1011 0000" -> {0xB0}. Spaces are ignored; the last byte
// is padded with `pad` bits.
#ifndef RTD_TESTS_SUPPORT_BITTEXT_H
#define RTD_TESTS_SUPPORT_BITTEXT_H

#include <cstdint>
#include <string>
#include <vector>

namespace rtd::test {

inline std::vector<uint8_t> BitsToBytes(const std::string& bits, int pad = 0) {
    std::vector<uint8_t> out;
    int used = 0;
    auto put = [&](int bit) {
        if (used == 0)
            out.push_back(0);
        if (bit)
            out.back() = static_cast<uint8_t>(out.back() | (0x80 >> used));
        used = (used + 1) % 8;
    };
    for (char c : bits) {
        if (c == '0' || c == '1')
            put(c - '0');
    }
    while (used != 0)
        put(pad);
    return out;
}

} // namespace rtd::test

#endif

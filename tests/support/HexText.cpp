#include "HexText.h"

#include <algorithm>
#include <cstdio>

namespace rtd::test {

std::string HexRecord(uint16_t address, const std::vector<uint8_t>& data, uint8_t type) {
    std::vector<uint8_t> fields = {static_cast<uint8_t>(data.size()),
                                   static_cast<uint8_t>(address >> 8),
                                   static_cast<uint8_t>(address & 0xFF), type};
    fields.insert(fields.end(), data.begin(), data.end());
    unsigned sum = 0;
    for (uint8_t b : fields)
        sum += b;
    fields.push_back(static_cast<uint8_t>(0x100 - (sum & 0xFF)));
    std::string text = ":";
    char two[3];
    for (uint8_t b : fields) {
        std::snprintf(two, sizeof two, "%02X", b);
        text += two;
    }
    return text + "\r\n";
}

std::string HexFileFor(const std::vector<uint8_t>& image, size_t length) {
    std::string text;
    for (size_t at = 0; at < length; at += 16) {
        const size_t n = std::min<size_t>(16, length - at);
        text += HexRecord(static_cast<uint16_t>(at),
                          std::vector<uint8_t>(image.begin() + static_cast<long>(at),
                                               image.begin() + static_cast<long>(at + n)));
    }
    return text + ":00000001FF\r\n";
}

} // namespace rtd::test

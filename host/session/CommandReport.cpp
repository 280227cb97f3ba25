#include "CommandReport.h"

#include <cstdio>

namespace rtd::host {

std::string HexCrc(uint8_t crc) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", static_cast<unsigned>(crc));
    return text;
}

} // namespace rtd::host

// Builds Intel HEX text for tests, independently of the reader.
#ifndef RTD_TESTS_SUPPORT_HEXTEXT_H
#define RTD_TESTS_SUPPORT_HEXTEXT_H

#include <cstdint>
#include <string>
#include <vector>

namespace rtd::test {

// One record with a correct checksum, upper-case digits, ending in CR LF.
std::string HexRecord(uint16_t address, const std::vector<uint8_t>& data, uint8_t type = 0x00);

// Data records of 16 bytes covering [0, length) of `image`, then the end record.
std::string HexFileFor(const std::vector<uint8_t>& image, size_t length);

} // namespace rtd::test

#endif

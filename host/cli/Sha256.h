// SHA-256 of a byte string, for the station log's record of which file each board got.
#ifndef RTD_HOST_CLI_SHA256_H
#define RTD_HOST_CLI_SHA256_H

#include <cstdint>
#include <string>
#include <vector>

namespace rtd::host {

// 64 lower-case hex digits.
std::string Sha256Hex(const std::vector<uint8_t>& data);

// The digest of a whole file; false when it cannot be read.
bool Sha256OfFile(const std::string& path, std::string* hex);

} // namespace rtd::host

#endif

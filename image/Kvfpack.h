// Encoder of packed firmware files, the inverse of the loader: every nibble is written
// with its one code (the shortest that decodes to it), no filler, and the last byte is
// padded with 0 bits, which the decoder reads as running into the end.
#ifndef RTD_IMAGE_KVFPACK_H
#define RTD_IMAGE_KVFPACK_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace rtd::image {

// The coded body of `size` bytes of data, high nibble of each byte first.
std::vector<uint8_t> PackKvfBody(const uint8_t* data, size_t size);

// A whole packed file for one 131,072-byte image: the header ("ZEQ KVF V1.0", then
// zeros up to byte 255) followed by the body.
std::vector<uint8_t> PackKvfFile(const uint8_t* image);

// Writes PackKvfFile(image) to `path`; false when the file cannot be written.
bool WriteKvfFile(const std::string& path, const uint8_t* image);

} // namespace rtd::image

#endif

// Loader of packed firmware files: a 256-byte header starting "ZEQ KVF V1.0" and a
// zero byte, then the coded body of one whole 131,072-byte image.
#ifndef RTD_IMAGE_KVFUNIT_H
#define RTD_IMAGE_KVFUNIT_H

#include <cstddef>
#include <cstdint>
#include <string>

#include "FlashGeometry.h"

namespace rtd::image {

constexpr int32_t kKvfHeaderSize = 256;
constexpr char kKvfMagic[] = "ZEQ KVF V1.0"; // followed by 0x00 in the header
// Larger files are refused: no real image needs that much body, and the whole file is
// held in memory while decoding.
constexpr int64_t kKvfMaxFileSize = 16 * 1024 * 1024;

} // namespace rtd::image

// Decodes the file into `image` (exactly 131,072 bytes). False, with `image` untouched,
// when the file cannot be opened or read, is shorter than the header or larger than
// 16 MiB, has another header, or its body decodes to fewer than 131,072 bytes.
bool LoadKvfFile(const std::string& path, uint8_t* image);
// The same over a whole file already in memory.
bool LoadKvfBytes(const uint8_t* file, size_t size, uint8_t* image);

#endif

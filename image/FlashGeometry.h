// The RTD2120's flash as a write sees it: two banks of 64 KiB, programmed in pages of 256
// bytes, erased to 0xFF. Erased bytes at the end of a bank need no writing, so what a write
// sends and verifies follows from the trailing run of 0xFF alone.
#ifndef RTD_IMAGE_FLASHGEOMETRY_H
#define RTD_IMAGE_FLASHGEOMETRY_H

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace rtd::image {

constexpr int32_t kPageSize = 256;
constexpr int32_t kBankSize = 65536;
constexpr int32_t kBankCount = 2;
// Both bank windows in one image, bank 0 first.
constexpr int32_t kWholeImageSize = kBankCount * kBankSize;
constexpr uint8_t kErased = 0xFF;

// The offset of the last byte of `data` other than 0xFF, plus one; 0 when all are 0xFF.
// Erased bytes before that byte count: only the trailing run is cut.
inline uint32_t TrimmedLength(const uint8_t* data, size_t size) {
    size_t length = size;
    while (length > 0 && data[length - 1] == kErased)
        --length;
    return static_cast<uint32_t>(length);
}

// What programming a 65,536-byte bank window writes: the window less its trailing 0xFF.
inline uint32_t WrittenLength(const uint8_t* window) {
    return TrimmedLength(window, kBankSize);
}

// A page (or the written part of the last one) that holds only 0xFF is not sent: the
// erased flash already reads so.
inline bool IsErased(const uint8_t* data, size_t count) {
    return std::all_of(data, data + count, [](uint8_t b) { return b == kErased; });
}

// The pages of the first `written` bytes of a window that are sent.
inline int PagesSent(const uint8_t* window, uint32_t written) {
    int pages = 0;
    for (uint32_t start = 0; start < written; start += kPageSize)
        pages += IsErased(window + start, std::min<uint32_t>(kPageSize, written - start)) ? 0 : 1;
    return pages;
}

// The chip is asked for its CRC over 0 .. written - 1, the end taken in 16 bits, so an empty
// bank is checked over 0x0000-0xFFFF: the local CRC must then cover the whole window.
inline uint16_t CrcEnd(uint32_t written) {
    return static_cast<uint16_t>(written - 1);
}
inline uint32_t CrcLength(uint32_t written) {
    return written == 0 ? static_cast<uint32_t>(kBankSize) : written;
}

} // namespace rtd::image

#endif

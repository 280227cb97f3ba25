#include "Kvfunit.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "StdFile.h"
#include "Vlcunit.h"

namespace {

// Reads the whole file, or fails when it cannot be read or exceeds the size cap. Reading
// to the end instead of seeking for the size keeps 32-bit `long` offsets out of it.
bool ReadCapped(const std::string& path, std::vector<uint8_t>& bytes) {
    const rtd::image::UniqueFile file = rtd::image::OpenForReading(path);
    if (!file)
        return false;
    constexpr size_t kChunk = 64 * 1024;
    bytes.clear();
    for (;;) {
        const size_t have = bytes.size();
        bytes.resize(have + kChunk);
        const size_t got = std::fread(bytes.data() + have, 1, kChunk, file.get());
        bytes.resize(have + got);
        if (static_cast<int64_t>(bytes.size()) > rtd::image::kKvfMaxFileSize)
            return false;
        if (got < kChunk)
            return !std::ferror(file.get());
    }
}

} // namespace

bool LoadKvfFile(const std::string& path, uint8_t* image) {
    std::vector<uint8_t> file;
    if (!ReadCapped(path, file))
        return false;
    return LoadKvfBytes(file.data(), file.size(), image);
}

bool LoadKvfBytes(const uint8_t* file, size_t size, uint8_t* image) {
    using namespace rtd::image;
    if (static_cast<int64_t>(size) > kKvfMaxFileSize || static_cast<int32_t>(size) < kKvfHeaderSize)
        return false;
    // The header text and its terminating zero; bytes 13-255 are free.
    if (std::memcmp(file, kKvfMagic, sizeof kKvfMagic) != 0)
        return false;

    TVLCDecode decoder;
    decoder.SetInput(file + kKvfHeaderSize, static_cast<int32_t>(size) - kKvfHeaderSize);
    int32_t count = 0;
    const std::vector<uint8_t> decoded = decoder.Decode(count, kWholeImageSize);
    if (count < kWholeImageSize)
        return false;
    std::copy_n(decoded.data(), kWholeImageSize, image);
    return true;
}

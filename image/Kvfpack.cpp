#include "Kvfpack.h"

#include <cstdio>
#include <cstring>
#include <memory>

#include "Kvfunit.h"
#include "VlcCodes.h"

namespace rtd::image {
namespace {

class BitWriter {
public:
    explicit BitWriter(std::vector<uint8_t>& out) : out_(out) {}
    void Put(VlcCode code) {
        for (int i = code.length - 1; i >= 0; --i) {
            if (used_ == 0)
                out_.push_back(0);
            if ((code.bits >> i) & 1)
                out_.back() = static_cast<uint8_t>(out_.back() | (0x80 >> used_));
            used_ = (used_ + 1) % 8;
        }
    }

private:
    std::vector<uint8_t>& out_;
    int used_ = 0; // bits already used in out_.back()
};

} // namespace

std::vector<uint8_t> PackKvfBody(const uint8_t* data, size_t size) {
    std::vector<uint8_t> body;
    body.reserve(size); // a typical image packs to well under one byte per byte
    BitWriter writer(body);
    for (size_t i = 0; i < size; ++i) {
        writer.Put(kNibbleCodes[data[i] >> 4]);
        writer.Put(kNibbleCodes[data[i] & 0x0F]);
    }
    return body;
}

std::vector<uint8_t> PackKvfFile(const uint8_t* image) {
    std::vector<uint8_t> file(kKvfHeaderSize, 0x00);
    std::memcpy(file.data(), kKvfMagic, sizeof kKvfMagic);
    const std::vector<uint8_t> body = PackKvfBody(image, kWholeImageSize);
    file.insert(file.end(), body.begin(), body.end());
    return file;
}

bool WriteKvfFile(const std::string& path, const uint8_t* image) {
    const std::vector<uint8_t> file = PackKvfFile(image);
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (!out)
        return false;
    const bool written = std::fwrite(file.data(), 1, file.size(), out) == file.size();
    return std::fclose(out) == 0 && written;
}

} // namespace rtd::image

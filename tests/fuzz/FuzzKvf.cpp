// Packed files through the loader. A refused file leaves the image untouched; an
// accepted one packs again into a file that loads to the same image.
#include <cstdint>
#include <vector>

#include "FuzzFile.h"
#include "Kvfpack.h"
#include "Kvfunit.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using rtd::image::kWholeImageSize;
    std::vector<uint8_t> image(kWholeImageSize, 0xA5);
    if (!LoadKvfBytes(data, size, image.data())) {
        rtd::fuzz::Require(rtd::fuzz::AllBytesAre(image.data(), image.size(), 0xA5));
        return 0;
    }
    const std::vector<uint8_t> repacked = rtd::image::PackKvfFile(image.data());
    std::vector<uint8_t> again(kWholeImageSize, 0x5A);
    rtd::fuzz::Require(LoadKvfBytes(repacked.data(), repacked.size(), again.data()));
    rtd::fuzz::Require(again == image);
    // Accepted inputs also go through a real file, which must load the same.
    static const std::string path = rtd::fuzz::ScratchPath(".kvf");
    rtd::fuzz::WriteScratch(path, data, size);
    std::vector<uint8_t> fromFile(kWholeImageSize, 0x5A);
    rtd::fuzz::Require(LoadKvfFile(path, fromFile.data()));
    rtd::fuzz::Require(fromFile == image);
    return 0;
}

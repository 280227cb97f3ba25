// Packed files through LoadKvfFile. A refused file leaves the image untouched; an
// accepted one packs again into a file that loads to the same image.
#include <cstdint>
#include <vector>

#include "image/Kvfpack.h"
#include "image/Kvfunit.h"
#include "tests/fuzz/FuzzFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using rtd::image::kWholeImageSize;
    static const std::string path = rtd::fuzz::ScratchPath(".kvf");
    rtd::fuzz::WriteScratch(path, data, size);
    std::vector<uint8_t> image(kWholeImageSize, 0xA5);
    if (!LoadKvfFile(path, image.data())) {
        for (uint8_t b : image)
            rtd::fuzz::Require(b == 0xA5);
        return 0;
    }
    const std::vector<uint8_t> repacked = rtd::image::PackKvfFile(image.data());
    rtd::fuzz::WriteScratch(path, repacked.data(), repacked.size());
    std::vector<uint8_t> again(kWholeImageSize, 0x5A);
    rtd::fuzz::Require(LoadKvfFile(path, again.data()));
    rtd::fuzz::Require(again == image);
    return 0;
}

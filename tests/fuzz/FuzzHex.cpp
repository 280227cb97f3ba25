// Intel HEX text through LoadImageFile: the copy stays within `limit`, the caller's fill
// above the count survives, and a clean read reports what it loaded.
#include <cstdint>
#include <vector>

#include "image/Hextobin.h"
#include "tests/fuzz/FuzzFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = rtd::fuzz::ScratchPath(".hex");
    rtd::fuzz::WriteScratch(path, data, size);
    // A limit below the bank as well as the full bank, with guard bytes past both.
    for (uint32_t limit : {uint32_t{65536}, uint32_t{4096}}) {
        std::vector<uint8_t> destination(limit + 64, 0xA5);
        uint32_t count = 0xFFFFFFFF;
        const TImageLoad result = LoadImageFile(path, destination.data(), count, limit);
        rtd::fuzz::Require(result != TImageLoad::OpenFailed);
        rtd::fuzz::Require(count <= limit);
        for (size_t i = count; i < destination.size(); ++i)
            rtd::fuzz::Require(destination[i] == 0xA5);
    }
    return 0;
}

// Intel HEX text through the loader: the copy stays within `limit`, the caller's fill
// above the count survives, a refusal names its line and reason, and a read from memory
// and from a file agree.
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzFile.h"
#include "Hextobin.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A limit below the bank as well as the full bank, with guard bytes past both.
    for (uint32_t limit : {uint32_t{65536}, uint32_t{4096}}) {
        std::vector<uint8_t> destination(limit + 64, 0xA5);
        uint32_t count = 0xFFFFFFFF;
        std::string failure;
        const TImageLoad result =
            LoadHexText(data, size, destination.data(), count, limit, &failure);
        rtd::fuzz::Require(result != TImageLoad::OpenFailed);
        // A refusal names its line (from 1) and a reason; an accepted file names none.
        rtd::fuzz::Require(result == TImageLoad::RecordFailed
                               ? failure.rfind("line ", 0) == 0 && failure[5] != '0' &&
                                     failure.find(": ") != std::string::npos
                               : failure.empty());
        rtd::fuzz::Require(count <= limit);
        rtd::fuzz::Require(
            rtd::fuzz::AllBytesAre(destination.data() + count, destination.size() - count, 0xA5));
    }
    // One input in 64 also goes through a real file, which must read the same.
    if (size % 64 == 0) {
        static const std::string path = rtd::fuzz::ScratchPath(".hex");
        rtd::fuzz::WriteScratch(path, data, size);
        std::vector<uint8_t> fromText(65536, 0xA5), fromFile(65536, 0xA5);
        uint32_t textCount = 0, fileCount = 0;
        std::string textFailure, fileFailure;
        const TImageLoad a =
            LoadHexText(data, size, fromText.data(), textCount, 65536, &textFailure);
        const TImageLoad b = LoadImageFile(path, fromFile.data(), fileCount, 65536, &fileFailure);
        rtd::fuzz::Require(a == b && textCount == fileCount && fromText == fromFile &&
                           textFailure == fileFailure);
    }
    return 0;
}

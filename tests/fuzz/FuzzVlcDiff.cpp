// The shipped packed-body decoder against the bit-at-a-time reference: the same bytes,
// count and reading state for any body and any output limit. The first three input bytes
// pick the limit, the rest is the body.
#include <cstdint>
#include <cstdio>
#include <string>

#include "FuzzFile.h"
#include "VlcReference.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3)
        return 0;
    const uint8_t* body = data + 3;
    const auto length = static_cast<int32_t>(size - 3);
    int32_t limit = -1; // none
    switch (data[0] % 4) {
    case 1: // anywhere
        limit = data[1] | data[2] << 8;
        break;
    case 2: // just short of the whole count, where the bulk decoder hands over
        limit = rtd::test::ReferenceOutcome(body, length, -1).count - data[1];
        break;
    case 3: // small
        limit = data[1];
        break;
    }
    const std::string difference = rtd::test::DifferenceFromReference(body, length, limit);
    if (!difference.empty())
        std::fprintf(stderr, "limit %d: %s\n", static_cast<int>(limit), difference.c_str());
    rtd::fuzz::Require(difference.empty());
    return 0;
}

// The fast stage of packed-body decoding: whole codes, several per table lookup, over the
// part of the body where an 8-byte load stays inside it. TVLCDecode::Decode finishes what
// is left (the last bytes, the end of the body, the last output bytes before a limit) one
// bit at a time, so that the result and the reading state left behind come out the same
// as decoding every bit singly.
#ifndef RTD_IMAGE_VLCLOOKUP_H
#define RTD_IMAGE_VLCLOOKUP_H

#include <cstdint>
#include <vector>

namespace rtd::image {

// Where the fast stage stopped.
struct VlcStop {
    int64_t bit = 0;          // body bits consumed: at a code's start, or at the body's end
                              // when the code under way runs into it
    bool highPending = false; // the byte under way has its high nibble only
    uint8_t high = 0;         // that nibble
};

// Decodes from the body's first bit into `out` (replaced; whole bytes only). With
// `maxBytes` >= 0 it stops short of that many bytes, leaving the last ones to the caller:
// decoding up to exactly `maxBytes` must not take a filler that follows their last code.
VlcStop DecodeWholeCodes(const uint8_t* body, int32_t length, int32_t maxBytes,
                         std::vector<uint8_t>& out);

} // namespace rtd::image

#endif

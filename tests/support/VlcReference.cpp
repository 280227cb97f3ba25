#include "VlcReference.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "Vlcunit.h"

namespace rtd::test {

const char* const kVlcCodeText[16] = {
    "1",    "010",     "0010",     "00001000", "0000110", "00001011", "00000101", "00011",
    "0011", "0000111", "00001010", "00001001", "00010",   "00000111", "00000110", "011"};
const char* const kVlcFillerText = "00000100";

namespace {

constexpr int kFiller = 16;

// Which code (0-15, kFiller) the bit string `bits` of `length` bits is, or -1.
int CodeOf(unsigned bits, int length) {
    static const auto table = [] {
        std::vector<std::vector<int>> byLength(9, std::vector<int>(256, -1));
        for (int c = 0; c <= kFiller; ++c) {
            const char* text = c == kFiller ? kVlcFillerText : kVlcCodeText[c];
            unsigned value = 0;
            for (const char* p = text; *p; ++p)
                value = value * 2 + (*p == '1');
            byLength[std::strlen(text)][value] = c;
        }
        return byLength;
    }();
    return length <= 8 ? table[length][bits] : -1;
}

template <class Decoder> VlcOutcome Run(const uint8_t* body, int32_t length, int32_t maxBytes) {
    Decoder decoder;
    decoder.SetInput(body, length);
    VlcOutcome o;
    o.bytes = decoder.Decode(o.count, maxBytes);
    o.position = decoder.Position;
    o.mask = decoder.Mask;
    o.bit = decoder.Bit;
    o.currentByte = decoder.CurrentByte;
    return o;
}

} // namespace

void VlcReference::SetInput(const uint8_t* body, int32_t length) {
    Body = body;
    Length = length;
}

bool VlcReference::NextBit() {
    if (Mask == 0) {
        if (++Position > Length)
            return false;
        CurrentByte = Body[Position - 1];
        Mask = 0x80;
    }
    Bit = (CurrentByte & Mask) ? 1 : 0;
    Mask >>= 1;
    return true;
}

uint8_t VlcReference::Nibble() {
    for (;;) { // one code a round; a filler starts the next
        uint8_t zeros = 0;
        bool one = false;
        while (!one || zeros > 5) {
            if (!NextBit())
                return 0x0;
            if (Bit == 1 && !one)
                one = true;
            else
                ++zeros; // wraps from 255 to 0
        }
        unsigned bits = 1;
        int length = zeros + 1;
        int code = CodeOf(bits, length);
        while (code < 0) {
            if (length == 8)
                std::abort(); // the table left a string of zeros and a one uncovered
            if (!NextBit())
                return 0x0;
            bits = bits * 2 + Bit;
            code = CodeOf(bits, ++length);
        }
        if (code != kFiller)
            return static_cast<uint8_t>(code);
    }
}

std::vector<uint8_t> VlcReference::Decode(int32_t& count, int32_t maxBytes) {
    Position = 0;
    Mask = 0;
    Bit = 0;
    CurrentByte = 0;
    std::vector<uint8_t> out;
    while (Position <= Length && (maxBytes < 0 || out.size() < static_cast<size_t>(maxBytes))) {
        const uint8_t high = Nibble();
        out.push_back(static_cast<uint8_t>(high << 4 | Nibble()));
    }
    count = static_cast<int32_t>(out.size());
    return out;
}

VlcOutcome ReferenceOutcome(const uint8_t* body, int32_t length, int32_t maxBytes) {
    return Run<VlcReference>(body, length, maxBytes);
}

VlcOutcome ShippedOutcome(const uint8_t* body, int32_t length, int32_t maxBytes) {
    return Run<TVLCDecode>(body, length, maxBytes);
}

std::string DifferenceFromReference(const uint8_t* body, int32_t length, int32_t maxBytes) {
    const VlcOutcome got = ShippedOutcome(body, length, maxBytes);
    const VlcOutcome want = ReferenceOutcome(body, length, maxBytes);
    char text[96];
    auto differs = [&](const char* what, long a, long b) {
        std::snprintf(text, sizeof text, "%s: %ld, reference %ld", what, a, b);
        return std::string(text);
    };
    if (got.count != want.count)
        return differs("count", got.count, want.count);
    if (got.bytes.size() != want.bytes.size())
        return differs("size", static_cast<long>(got.bytes.size()),
                       static_cast<long>(want.bytes.size()));
    if (got.bytes != want.bytes) {
        size_t i = 0;
        while (got.bytes[i] == want.bytes[i])
            ++i;
        std::snprintf(text, sizeof text, "byte %zu: %02X, reference %02X", i, got.bytes[i],
                      want.bytes[i]);
        return text;
    }
    if (got.position != want.position)
        return differs("Position", got.position, want.position);
    if (got.mask != want.mask)
        return differs("Mask", got.mask, want.mask);
    if (got.bit != want.bit)
        return differs("Bit", got.bit, want.bit);
    if (got.currentByte != want.currentByte)
        return differs("CurrentByte", got.currentByte, want.currentByte);
    return "";
}

} // namespace rtd::test

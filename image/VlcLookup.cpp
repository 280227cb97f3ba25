#include "VlcLookup.h"

#include <algorithm>
#include <array>
#include <limits>

#include "VlcCodes.h"

namespace rtd::image {
namespace {

// One lookup decodes the whole codes within the next kPeekBits bits. An 8-byte load at
// any bit offset holds at least 57 bits: enough for kLookupsPerLoad lookups. 12 bits keep
// the table (16 KiB) in the first-level cache: 16 bits measured about 15 % faster on a
// firmware image but 30 % slower on random bodies, with a table of 256 KiB.
constexpr int kPeekBits = 12;
constexpr int kLookupsPerLoad = 4;
static_assert(kPeekBits >= 8 && kPeekBits * kLookupsPerLoad <= 57, "peeks must fit one load");
constexpr int kMaxNibbles = 6; // per entry: 24 bits of nibbles
// Nibbles one round of lookups may add: every lookup, then one long code.
constexpr int64_t kNibblesPerRound = kLookupsPerLoad * kMaxNibbles + 1;
// Output bytes past the last whole one that a round may write into.
constexpr size_t kOutSlack = kNibblesPerRound / 2 + 8;

// An entry: bits 0-4 the bits its codes take (fillers included), bits 5-7 how many nibbles
// they yield, bits 8-31 those nibbles, the first in bits 28-31. 0 when the peek begins with
// six 0 bits: no code of the table starts that way.
using Table = std::array<uint32_t, 1u << kPeekBits>;

Table BuildTable() {
    Table table{};
    for (uint32_t peek = 0; peek < table.size(); ++peek) {
        int used = 0;
        int count = 0;
        uint32_t nibbles = 0;
        while (count < kMaxNibbles) {
            int found = -1; // 0-15 a value, 16 the filler
            int length = 0;
            for (int c = 0; c <= 16 && found < 0; ++c) {
                const VlcCode code = c < 16 ? kNibbleCodes[c] : kFillerCode;
                const int rest = kPeekBits - used - code.length;
                if (rest >= 0 && ((peek >> rest) & ((1u << code.length) - 1)) == code.bits) {
                    found = c;
                    length = code.length;
                }
            }
            if (found < 0)
                break;
            used += length;
            if (found < 16)
                nibbles |= static_cast<uint32_t>(found) << (28 - 4 * count++);
        }
        table[peek] = nibbles | static_cast<uint32_t>(count) << 5 | static_cast<uint32_t>(used);
    }
    return table;
}

uint64_t LoadBigEndian64(const uint8_t* p) {
    return static_cast<uint64_t>(p[0]) << 56 | static_cast<uint64_t>(p[1]) << 48 |
           static_cast<uint64_t>(p[2]) << 40 | static_cast<uint64_t>(p[3]) << 32 |
           static_cast<uint64_t>(p[4]) << 24 | static_cast<uint64_t>(p[5]) << 16 |
           static_cast<uint64_t>(p[6]) << 8 | static_cast<uint64_t>(p[7]);
}

void StoreBigEndian32(uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v >> 24);
    p[1] = static_cast<uint8_t>(v >> 16);
    p[2] = static_cast<uint8_t>(v >> 8);
    p[3] = static_cast<uint8_t>(v);
}

int LeadingZerosOfByte(unsigned byte) {
    int n = 0;
    for (unsigned m = 0x80; m != 0 && (byte & m) == 0; m >>= 1)
        ++n;
    return n;
}

// The run of 0 bits from bit `at` (which lies inside the body) up to the next 1 bit or the
// body's end.
int64_t ZeroRun(const uint8_t* body, int64_t length, int64_t at) {
    int64_t byte = at >> 3;
    const unsigned rest = static_cast<uint8_t>(body[byte] << (at & 7));
    if (rest != 0)
        return LeadingZerosOfByte(rest);
    int64_t run = 8 - (at & 7);
    for (++byte; byte + 8 <= length && LoadBigEndian64(body + byte) == 0; byte += 8)
        run += 64;
    for (; byte < length && body[byte] == 0; ++byte)
        run += 8;
    return byte < length ? run + LeadingZerosOfByte(body[byte]) : run;
}

enum class LongCode { Shortened, ZeroNibble, RanOut };

// A code that begins with six or more 0 bits, at bit `at`. Its zeros are counted modulo
// 256; with 6 or more left over, every bit after the first 1 counts on until the counter
// wraps, and the code yields 0x0. With 0-5 left over, the whole turns of the counter are
// skipped and an ordinary code remains. Moves `at` past what it settles.
LongCode SettleLongCode(const uint8_t* body, int64_t length, int64_t& at) {
    const int64_t end = length * 8;
    const int64_t zeros = ZeroRun(body, length, at);
    const int64_t left = zeros & 255;
    if (at + zeros < end && left <= 5) {
        at += zeros - left;
        return LongCode::Shortened;
    }
    const int64_t codeBits = zeros + 1 + (256 - left); // also past the end when no 1 came
    if (at + codeBits > end) {
        at = end;
        return LongCode::RanOut;
    }
    at += codeBits;
    return LongCode::ZeroNibble;
}

} // namespace

VlcStop DecodeWholeCodes(const uint8_t* body, int32_t length, int32_t maxBytes,
                         std::vector<uint8_t>& out) {
    static const Table table = BuildTable();
    out.clear();
    VlcStop stop;
    if (length < 8)
        return stop;
    // The first bit whose 8-byte load would pass the body's end.
    const int64_t loadEnd = (static_cast<int64_t>(length) - 7) * 8;
    // Stop with at most 2 * maxBytes - 1 nibbles: a filler may follow the last code
    // decoded, and decoding to maxBytes must not take it.
    const int64_t nibbleLimit =
        maxBytes < 0 ? std::numeric_limits<int64_t>::max() : 2 * static_cast<int64_t>(maxBytes) - 1;
    size_t expected = 2 * static_cast<size_t>(length); // most images need less
    if (maxBytes >= 0)
        expected = std::min(expected, static_cast<size_t>(maxBytes));
    out.resize(expected + kOutSlack);

    int64_t at = 0;
    size_t bytes = 0;
    uint64_t acc = 0;     // the pending high nibble in bits 60-63, when there is one
    unsigned pending = 0; // 0 or 1 nibbles in acc
    auto flush = [&] {
        StoreBigEndian32(out.data() + bytes, static_cast<uint32_t>(acc >> 32));
        const unsigned whole = pending >> 1;
        bytes += whole;
        acc <<= 8 * whole;
        pending &= 1;
    };
    while (at < loadEnd &&
           2 * static_cast<int64_t>(bytes) + pending + kNibblesPerRound <= nibbleLimit) {
        if (bytes + kOutSlack > out.size())
            out.resize(out.size() * 2);
        uint64_t bits = LoadBigEndian64(body + (at >> 3)) << (at & 7);
        int used = 0;
        bool longCode = false;
        for (int i = 0; i < kLookupsPerLoad; ++i) {
            const uint32_t entry = table[bits >> (64 - kPeekBits)];
            const unsigned take = entry & 31;
            if (take == 0) {
                longCode = true;
                break;
            }
            bits <<= take;
            used += static_cast<int>(take);
            acc |= static_cast<uint64_t>(entry & 0xFFFFFF00u) << (32 - 4 * pending);
            pending += (entry >> 5) & 7;
            flush();
        }
        at += used;
        if (longCode) {
            const LongCode settled = SettleLongCode(body, length, at);
            if (settled == LongCode::RanOut)
                break;
            if (settled == LongCode::ZeroNibble) {
                ++pending;
                flush();
            }
        }
    }
    out.resize(bytes);
    stop.bit = at;
    stop.highPending = pending != 0;
    stop.high = static_cast<uint8_t>(acc >> 60);
    return stop;
}

} // namespace rtd::image

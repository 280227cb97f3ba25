// The packed-body decoder: the code table, the filler, the long zero-run codes and how
// decoding runs past the end of the coded data; and the table-driven decoding measured
// against the bit-at-a-time reference wherever the two could part.
#include <gtest/gtest.h>
#include <ostream>

#include <random>
#include <string>
#include <vector>

#include "BitText.h"
#include "CaseName.h"
#include "VlcReference.h"
#include "Vlcunit.h"

namespace {

using Bytes = std::vector<uint8_t>;
using rtd::test::BitsToBytes;
using rtd::test::DifferenceFromReference;
using rtd::test::kVlcCodeText;

int32_t Size(const Bytes& b) {
    return static_cast<int32_t>(b.size());
}

// Decodes with TVLCDecode, which must agree with the reference in every respect.
Bytes DecodeAll(const Bytes& body, int32_t maxBytes = TVLCDecode::kNoLimit) {
    EXPECT_EQ(DifferenceFromReference(body.data(), Size(body), maxBytes), "");
    TVLCDecode decoder;
    decoder.SetInput(body.data(), Size(body));
    int32_t count = -1;
    Bytes out = decoder.Decode(count, maxBytes);
    EXPECT_EQ(count, static_cast<int32_t>(out.size()));
    EXPECT_GT(decoder.Position, decoder.Length);
    return out;
}

const std::string kFiller = rtd::test::kVlcFillerText;

TEST(Decoder, EveryCodePairedWithEveryCodeGivesItsByte) {
    for (int high = 0; high < 16; ++high) {
        for (int low = 0; low < 16; ++low) {
            // Two codes, then "1" fill bits; 0 bits would run into the end just the same.
            const Bytes body = BitsToBytes(std::string(kVlcCodeText[high]) + kVlcCodeText[low], 1);
            const Bytes out = DecodeAll(body);
            ASSERT_FALSE(out.empty());
            EXPECT_EQ(out[0], high * 16 + low) << high << "," << low;
        }
    }
}

struct DecodeCase {
    const char* name;
    Bytes body;
    Bytes expected;
};

// Failure messages name the case; the default printer would dump its raw bytes.
void PrintTo(const DecodeCase& c, std::ostream* out) {
    *out << c.name;
}

std::vector<DecodeCase> DecodeCases() {
    const std::string six = "0000001";
    return {
        {"worked example", {0xB0, 0x44, 0x47}, {0x0F, 0x12, 0x80, 0x00}},
        {"empty body gives one zero byte", {}, {0x00}},
        {"all-zero body gives one zero byte", Bytes(5, 0x00), {0x00}},
        // 8n one-bits are 8n zero nibbles: 4n bytes, then the byte that met the end.
        {"all-0xFF body gives 4n + 1 zero bytes", Bytes(3, 0xFF), Bytes(13, 0x00)},
        {"filler between two bytes changes nothing",
         BitsToBytes("011 010" + kFiller + "0010 0011"),
         {0xF1, 0x28, 0x00}},
        {"filler between the nibbles of one byte changes nothing",
         BitsToBytes("011" + kFiller + "010 0010 0011"),
         {0xF1, 0x28, 0x00}},
        {"two fillers in a row", BitsToBytes("011" + kFiller + kFiller + "010"), {0xF1, 0x00}},
        {"six leading zeros make a 257-bit code that gives 0x0",
         BitsToBytes(six + std::string(250, '1') + "011" + "0011" + "010"),
         {0x0F, 0x81, 0x00}},
        {"the 257-bit code takes any bits after its first one",
         BitsToBytes("0000000001" + std::string(247, '0') + "011"),
         {0x0F, 0x00}},
        {"256 zeros and a one give 0x0",
         BitsToBytes(std::string(256, '0') + "1" + "011"),
         {0x0F, 0x00}},
        {"body ending inside a code gives 0x0 for it", BitsToBytes("011 0000 1"), {0xF0}},
        {"body ending before the low nibble", BitsToBytes("011 011 011 00"), {0xFF, 0xF0}},
    };
}

class DecodeTable : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeTable, Decodes) {
    EXPECT_EQ(DecodeAll(GetParam().body), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Bodies, DecodeTable, ::testing::ValuesIn(DecodeCases()),
                         rtd::test::CaseName());

TEST(Decoder, StopsOnceEnoughBytesExist) {
    const Bytes body(1000, 0xFF); // 4001 bytes without a limit
    EXPECT_EQ(DecodeAll(body).size(), 4001u);
    TVLCDecode decoder;
    decoder.SetInput(body.data(), Size(body));
    int32_t count = 0;
    const Bytes out = decoder.Decode(count, 10);
    EXPECT_EQ(count, 10);
    EXPECT_EQ(out, Bytes(10, 0x00));
}

TEST(Decoder, NeverReadsPastTheBody) {
    // The body is followed by bytes that would decode differently if they were read.
    const Bytes storage = {0x7F, 0xB4, 0x47};
    TVLCDecode decoder;
    decoder.SetInput(storage.data(), 1); // "0111 1111": F, then five 0x0, then the end
    int32_t count = 0;
    EXPECT_EQ(decoder.Decode(count), (Bytes{0xF0, 0x00, 0x00, 0x00}));
    EXPECT_EQ(decoder.Position, 3);
}

// Mixed codes of every length, `count` of them.
std::string MixedCodes(int count) {
    std::string bits;
    for (int i = 0; i < count; ++i)
        bits += kVlcCodeText[(i * 7 + 3) % 16];
    return bits;
}

// Patterns where table lookups and single bits could part: each one is decoded after
// 0-15 extra bits (all code offsets within a byte and within the bulk decoder's loads,
// both nibble parities), once followed by more codes and once ending the body, and with
// every output limit up to the whole count.
TEST(DecoderAgainstReference, EdgePatternsAtEveryOffsetAndLimit) {
    const std::string zeros256(256, '0');
    const struct {
        const char* name;
        std::string bits;
    } patterns[] = {
        {"filler between two codes", "011" + kFiller + "0011"},
        {"three fillers in a row", kFiller + kFiller + kFiller},
        {"8-bit codes back to back", "00001000 00001011 00000101 00001010 00001001 00000111"},
        {"six zeros: a 257-bit code", "0000001" + std::string(250, '1')},
        {"nine zeros: a 257-bit code", "0000000001" + MixedCodes(40).substr(0, 247)},
        {"256 zeros and a one", zeros256 + "1"},
        {"257 zeros: a one-zero code", zeros256 + "011"},
        {"260 zeros: a four-zero code", zeros256 + "00001000"},
        {"261 zeros: a filler", zeros256 + kFiller},
        {"261 zeros: a five-zero code", zeros256 + "00000111"},
        {"262 zeros: a 257-bit code after a turn", zeros256 + "0000001" + std::string(250, '0')},
        {"767 zeros and a one", std::string(767, '0') + "1"},
        {"a zero run into the end", std::string(300, '0')},
        {"a 257-bit code into the end", "0000001" + std::string(100, '1')},
    };
    for (const auto& p : patterns) {
        for (int shift = 0; shift < 16; ++shift) {
            for (const bool more : {true, false}) {
                const std::string bits = MixedCodes(20) + std::string(shift, '1') + p.bits +
                                         (more ? MixedCodes(30) : "");
                const Bytes body = BitsToBytes(bits, shift % 2);
                const int32_t all = rtd::test::ReferenceOutcome(body.data(), Size(body), -1).count;
                for (int32_t limit = -1; limit <= all + 1; ++limit)
                    ASSERT_EQ(DifferenceFromReference(body.data(), Size(body), limit), "")
                        << p.name << ", shift " << shift << (more ? "" : ", at the end")
                        << ", limit " << limit;
            }
        }
    }
}

// Random bodies of every length up to 300 bytes and a few long ones, of three kinds:
// uniform bytes, sparse bytes (long zero runs: fillers, 257-bit codes, runs of 256+
// zeros) and mostly 0xFF (many nibbles per lookup).
TEST(DecoderAgainstReference, RandomBodiesOfManyLengths) {
    std::mt19937 rng(20240);
    std::vector<size_t> lengths;
    for (size_t n = 0; n <= 300; ++n)
        lengths.push_back(n);
    for (size_t n : {1021, 4099, 70001})
        lengths.push_back(n);
    for (int kind = 0; kind < 3; ++kind) {
        for (const size_t n : lengths) {
            Bytes body(n);
            for (uint8_t& b : body) {
                const auto r = static_cast<uint8_t>(rng());
                b = kind == 0   ? r
                    : kind == 1 ? static_cast<uint8_t>(rng() % 40 == 0 ? r : 0)
                                : static_cast<uint8_t>(rng() % 8 == 0 ? r : 0xFF);
            }
            const int32_t all = rtd::test::ReferenceOutcome(body.data(), Size(body), -1).count;
            for (const int32_t limit :
                 {-1, 0, all / 2, all - 1, all, all + 1, static_cast<int32_t>(rng() % (all + 1))})
                ASSERT_EQ(DifferenceFromReference(body.data(), Size(body), limit), "")
                    << "kind " << kind << ", " << n << " bytes, limit " << limit;
        }
    }
}

} // namespace

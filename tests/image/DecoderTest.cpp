// The packed-body decoder: the code table, the filler, the long zero-run codes and how
// decoding runs past the end of the coded data.
#include <gtest/gtest.h>
#include <ostream>

#include <string>
#include <vector>

#include "BitText.h"
#include "CaseName.h"
#include "Vlcunit.h"

namespace {

using Bytes = std::vector<uint8_t>;
using rtd::test::BitsToBytes;

Bytes DecodeAll(const Bytes& body, int32_t maxBytes = TVLCDecode::kNoLimit) {
    TVLCDecode decoder;
    decoder.SetInput(body.data(), static_cast<int32_t>(body.size()));
    int32_t count = -1;
    Bytes out = decoder.Decode(count, maxBytes);
    EXPECT_EQ(count, static_cast<int32_t>(out.size()));
    EXPECT_GT(decoder.Position, decoder.Length);
    return out;
}

// The code of every value, written out here independently of the decoder.
const char* const kCodeOf[16] = {
    "1",    "010",     "0010",     "00001000", "0000110", "00001011", "00000101", "00011",
    "0011", "0000111", "00001010", "00001001", "00010",   "00000111", "00000110", "011"};
const std::string kFiller = "00000100";

TEST(Decoder, EveryCodePairedWithEveryCodeGivesItsByte) {
    for (int high = 0; high < 16; ++high) {
        for (int low = 0; low < 16; ++low) {
            // Two codes, then "1" fill bits; 0 bits would run into the end just the same.
            const Bytes body = BitsToBytes(std::string(kCodeOf[high]) + kCodeOf[low], 1);
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
    decoder.SetInput(body.data(), static_cast<int32_t>(body.size()));
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

} // namespace

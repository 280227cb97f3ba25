// Packed firmware files: the loader's header and size rules, and the packer as its
// inverse over random and structured images.
#include <gtest/gtest.h>
#include <ostream>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "CaseName.h"
#include "Kvfpack.h"
#include "Kvfunit.h"
#include "TempDir.h"
#include "Vlcunit.h"

namespace {

using Bytes = std::vector<uint8_t>;
using rtd::image::kWholeImageSize;

Bytes Header() {
    Bytes h(256, 0x00);
    std::memcpy(h.data(), "ZEQ KVF V1.0", 12);
    return h;
}

Bytes Concat(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Bytes RandomBytes(size_t n, uint32_t seed) {
    std::mt19937 rng(seed);
    Bytes b(n);
    for (uint8_t& x : b)
        x = static_cast<uint8_t>(rng());
    return b;
}

Bytes Decode(const Bytes& body, int32_t maxBytes = TVLCDecode::kNoLimit) {
    TVLCDecode decoder;
    decoder.SetInput(body.data(), static_cast<int32_t>(body.size()));
    int32_t count = 0;
    return decoder.Decode(count, maxBytes);
}

// Loads through a file, into an image pre-set to a canary pattern.
bool LoadThroughFile(const Bytes& file, Bytes& image) {
    rtd::test::TempDir dir;
    image.assign(kWholeImageSize, 0xA5);
    return LoadKvfFile(dir.Write("fw.kvf", file), image.data());
}

TEST(PackedFile, PackerWritesTheShortestCodes) {
    // 0F 12 80: the codes 1 | 011 | 010 | 0010 | 0011 | 1, sixteen bits, no padding.
    const Bytes data = {0x0F, 0x12, 0x80};
    EXPECT_EQ(rtd::image::PackKvfBody(data.data(), data.size()), (Bytes{0xB4, 0x47}));
    const Bytes file = rtd::image::PackKvfFile(Bytes(kWholeImageSize, 0x00).data());
    EXPECT_EQ(Bytes(file.begin(), file.begin() + 256), Header());
    // 262,144 one-bit codes: exactly 32,768 body bytes of 0xFF.
    EXPECT_EQ(Bytes(file.begin() + 256, file.end()), Bytes(32768, 0xFF));
}

struct ImageCase {
    const char* name;
    Bytes image;
};

// Failure messages name the case; the default printer would dump its raw bytes.
void PrintTo(const ImageCase& c, std::ostream* out) {
    *out << c.name;
}

std::vector<ImageCase> Images() {
    std::vector<ImageCase> cases = {
        {"all erased", Bytes(kWholeImageSize, 0xFF)},
        {"all zero", Bytes(kWholeImageSize, 0x00)},
        {"random seed 1", RandomBytes(kWholeImageSize, 1)},
        {"random seed 2", RandomBytes(kWholeImageSize, 2)},
    };
    Bytes ramp(kWholeImageSize);
    for (size_t i = 0; i < ramp.size(); ++i)
        ramp[i] = static_cast<uint8_t>(i * 7 + (i >> 9));
    cases.push_back({"ramp", ramp});
    Bytes sparse(kWholeImageSize, 0xFF);
    for (size_t i = 0; i < sparse.size(); i += 4093)
        sparse[i] = static_cast<uint8_t>(i);
    sparse[kWholeImageSize - 1] = 0x00;
    cases.push_back({"sparse with data in the last byte", sparse});
    Bytes firmware(kWholeImageSize, 0xFF);
    const Bytes code = RandomBytes(70000, 3);
    std::copy(code.begin(), code.end(), firmware.begin());
    cases.push_back({"firmware reaching into bank 1", firmware});
    return cases;
}

class PackRoundTrip : public ::testing::TestWithParam<ImageCase> {};

TEST_P(PackRoundTrip, LoadingThePackedFileGivesTheImageBack) {
    const Bytes& original = GetParam().image;
    const Bytes file = rtd::image::PackKvfFile(original.data());
    Bytes loaded;
    ASSERT_TRUE(LoadThroughFile(file, loaded));
    EXPECT_TRUE(loaded == original);
    // Whatever the padding, a body coding exactly the image decodes to one byte more: the
    // byte during which the body ran out, 0x00.
    const Bytes body(file.begin() + 256, file.end());
    const Bytes decoded = Decode(body);
    ASSERT_EQ(decoded.size(), original.size() + 1);
    EXPECT_TRUE(std::equal(original.begin(), original.end(), decoded.begin()));
    EXPECT_EQ(decoded.back(), 0x00);
}

INSTANTIATE_TEST_SUITE_P(Images, PackRoundTrip, ::testing::ValuesIn(Images()),
                         rtd::test::CaseName());

// The other way round: any body that decodes to a whole image packs again to a body no
// longer than itself (every value has one shortest code) that decodes to the same image.
TEST(PackedFile, ArbitraryBodiesRepackToNoLongerBodiesOfTheSameImage) {
    for (uint32_t seed = 10; seed < 16; ++seed) {
        // Random bits cost about six bits per nibble (one code in 64 starts with six zeros
        // and takes 257 bits), so 400 KB hold well over 128 KiB.
        Bytes body = RandomBytes(400000, seed);
        if (seed % 2 == 0) // sprinkle long zero runs: fillers and 257-bit codes
            for (size_t i = 0; i < body.size(); i += 997)
                body[i] = 0x00;
        const Bytes image = Decode(body, kWholeImageSize);
        ASSERT_EQ(image.size(), static_cast<size_t>(kWholeImageSize)) << seed;
        const Bytes file = rtd::image::PackKvfFile(image.data());
        EXPECT_LE(file.size() - 256, body.size()) << seed;
        Bytes loaded;
        ASSERT_TRUE(LoadThroughFile(file, loaded)) << seed;
        EXPECT_TRUE(loaded == image) << seed;
    }
}

TEST(PackedFile, RefusedFilesLeaveTheImageUntouched) {
    const Bytes header = Header();
    const Bytes good = rtd::image::PackKvfFile(RandomBytes(kWholeImageSize, 4).data());
    Bytes byte12 = good;
    byte12[12] = ' ';
    Bytes magic = good;
    magic[4] = 'k';
    const Bytes shortBody = Concat(Header(), Bytes(1000, 0xFF)); // 4001 bytes decoded
    // Coding 131,070 bytes decodes to 131,071: the byte after the coded data is not enough.
    const Bytes twoShort =
        Concat(Header(), rtd::image::PackKvfBody(RandomBytes(kWholeImageSize, 4).data(),
                                                 kWholeImageSize - 2));
    const struct {
        const char* name;
        Bytes file;
    } cases[] = {
        {"empty file", {}},
        {"header text but byte 12 not zero", byte12},
        {"other header text", magic},
        {"shorter than the header", Bytes(header.begin(), header.begin() + 100)},
        {"header only", Header()},
        {"body decodes to too few bytes", shortBody},
        {"body two bytes short", twoShort},
    };
    for (const auto& c : cases) {
        Bytes image;
        EXPECT_FALSE(LoadThroughFile(c.file, image)) << c.name;
        EXPECT_EQ(image, Bytes(kWholeImageSize, 0xA5)) << c.name;
    }
}

TEST(PackedFile, TheByteDecodedAfterTheBodyCompletesAnImageOneByteShort) {
    const Bytes data = RandomBytes(kWholeImageSize, 7);
    const Bytes file = Concat(Header(), rtd::image::PackKvfBody(data.data(), kWholeImageSize - 1));
    Bytes loaded;
    ASSERT_TRUE(LoadThroughFile(file, loaded));
    EXPECT_TRUE(std::equal(data.begin(), data.end() - 1, loaded.begin()));
    EXPECT_EQ(loaded.back(), 0x00);
}

TEST(PackedFile, UnopenableAndOversizedFilesAreRefused) {
    rtd::test::TempDir dir;
    Bytes image(kWholeImageSize, 0xA5);
    EXPECT_FALSE(LoadKvfFile(dir.Path("missing.kvf"), image.data()));
    EXPECT_FALSE(LoadKvfFile(dir.MakeFolder("folder.kvf"), image.data()));
    // A valid image with junk after it, first just under, then just over 16 MiB.
    Bytes file = rtd::image::PackKvfFile(Bytes(kWholeImageSize, 0x00).data());
    file.resize(rtd::image::kKvfMaxFileSize, 0xFF);
    EXPECT_TRUE(LoadKvfFile(dir.Write("max.kvf", file), image.data()));
    EXPECT_EQ(image, Bytes(kWholeImageSize, 0x00));
    image.assign(kWholeImageSize, 0xA5);
    file.push_back(0xFF);
    EXPECT_FALSE(LoadKvfFile(dir.Write("big.kvf", file), image.data()));
    EXPECT_EQ(image, Bytes(kWholeImageSize, 0xA5));
}

TEST(PackedFile, HeaderTailIsFreeAndBytesAfterTheImageAreDropped) {
    const Bytes original = RandomBytes(kWholeImageSize, 5);
    Bytes file = rtd::image::PackKvfFile(original.data());
    for (size_t i = 13; i < 256; ++i)
        file[i] = static_cast<uint8_t>(i);
    const Bytes more = rtd::image::PackKvfBody(RandomBytes(5000, 6).data(), 5000);
    file = Concat(file, more);
    Bytes loaded;
    ASSERT_TRUE(LoadThroughFile(file, loaded));
    EXPECT_TRUE(loaded == original);
}

} // namespace

// Intel HEX reader and LoadImageFile: what lands in the caller's buffer, the count, and
// how a read ends.
#include <gtest/gtest.h>
#include <ostream>

#include <string>
#include <utility>
#include <vector>

#include "CaseName.h"
#include "HexText.h"
#include "Hextobin.h"
#include "TempDir.h"

namespace {

using rtd::test::HexRecord;
using Bytes = std::vector<uint8_t>;

constexpr uint32_t kBank = 65536;

Bytes Ramp(size_t n, uint8_t start = 0) {
    Bytes b(n);
    for (size_t i = 0; i < n; ++i)
        b[i] = static_cast<uint8_t>(start + i);
    return b;
}

struct HexCase {
    std::string name;
    std::string text;
    TImageLoad result;
    uint32_t count;
    std::vector<std::pair<uint32_t, uint8_t>> probes; // offset -> expected byte
    std::string failure = {};                         // the refused record's line and reason
};

// Failure messages name the case; the default printer would dump its raw bytes.
void PrintTo(const HexCase& c, std::ostream* out) {
    *out << c.name;
}

std::vector<HexCase> HexCases() {
    const std::string r0 = HexRecord(0x0000, Ramp(16, 0x10));   // 0x0000-0x000F
    const std::string r100 = HexRecord(0x0100, Ramp(16, 0x80)); // 0x0100-0x010F
    const std::string end = ":00000001FF\r\n";
    std::string badSum = HexRecord(0x0020, Bytes(4, 0x55));
    badSum[badSum.size() - 3] = badSum[badSum.size() - 3] == '0' ? '1' : '0';
    std::string lower = HexRecord(0x0000, {0xAB, 0xCD, 0xEF});
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    std::string otherMark = r0;
    otherMark[0] = 'X';
    std::string badStartSum = HexRecord(0x0000, {0, 0, 0x12, 0x34}, 0x05);
    badStartSum[badStartSum.size() - 3] = badStartSum[badStartSum.size() - 3] == '0' ? '1' : '0';
    std::string typeNotHex = r0;
    typeNotHex.replace(7, 2, "ZZ");
    std::vector<HexCase> cases = {
        {"empty file", "", TImageLoad::Loaded, 0, {{0, 0xFF}}},
        {"end record only", end, TImageLoad::Loaded, 0, {{0, 0xFF}}},
        {"gaps read 0x00 below the highest end, fill above",
         r0 + r100 + end,
         TImageLoad::Loaded,
         0x110,
         {{0x000, 0x10},
          {0x00F, 0x1F},
          {0x010, 0x00},
          {0x0FF, 0x00},
          {0x100, 0x80},
          {0x10F, 0x8F},
          {0x110, 0xFF}}},
        {"blank and short lines are skipped anywhere",
         "\r\n" + r0 + "\n\r\nab\r\n" + r100 + "\r\n" + end,
         TImageLoad::Loaded,
         0x110,
         {{0x000, 0x10}, {0x100, 0x80}}},
        {"records after the end record are ignored",
         r0 + end + r100,
         TImageLoad::Loaded,
         0x10,
         {{0x00F, 0x1F}, {0x100, 0xFF}}},
        {"lower-case end record ends the read",
         r0 + ":00000001ff\r\n" + r100,
         TImageLoad::Loaded,
         0x10,
         {{0x100, 0xFF}}},
        {"no end record: the stream's end ends the read", r0, TImageLoad::Loaded, 0x10, {}},
        {"later record wins where two overlap",
         HexRecord(0x0000, Bytes(8, 0x11)) + HexRecord(0x0004, Bytes(2, 0x22)) + end,
         TImageLoad::Loaded,
         8,
         {{0x03, 0x11}, {0x04, 0x22}, {0x05, 0x22}, {0x06, 0x11}}},
        {"records in any order",
         r100 + r0 + end,
         TImageLoad::Loaded,
         0x110,
         {{0x000, 0x10}, {0x10F, 0x8F}}},
        {"zero-length record raises the highest end",
         HexRecord(0x0200, {}) + end,
         TImageLoad::Loaded,
         0x200,
         {{0x000, 0x00}, {0x1FF, 0x00}, {0x200, 0xFF}}},
        {"lower-case digits in every field",
         lower + end,
         TImageLoad::Loaded,
         3,
         {{0, 0xAB}, {2, 0xEF}}},
        {"record mark is not examined", otherMark + end, TImageLoad::Loaded, 0x10, {{0, 0x10}}},
        {"record ending exactly at the end of the bank",
         HexRecord(0xFFF0, Ramp(16, 0xA0)) + end,
         TImageLoad::Loaded,
         kBank,
         {{0x0000, 0x00}, {0xFFF0, 0xA0}, {0xFFFF, 0xAF}}},
        {"checksum error stops the read, earlier records stand",
         r0 + badSum + r100,
         TImageLoad::RecordFailed,
         0x10,
         {{0x00F, 0x1F}, {0x020, 0xFF}, {0x100, 0xFF}},
         "line 2: checksum mismatch"},
        {"blank and short lines count in the line number",
         "\r\n" + r0 + "\n\r\nab\r\n" + badSum,
         TImageLoad::RecordFailed,
         0x10,
         {},
         "line 6: checksum mismatch"},
        {"failed record's data stay where they lie below the highest end",
         HexRecord(0x0000, Bytes(0x40, 0x01)) + badSum,
         TImageLoad::RecordFailed,
         0x40,
         {{0x1F, 0x01}, {0x20, 0x55}, {0x23, 0x55}, {0x24, 0x01}},
         "line 2: checksum mismatch"},
        {"non-zero extended linear address stops the read",
         r0 + HexRecord(0x0000, {0x00, 0x01}, 0x04) + r100,
         TImageLoad::RecordFailed,
         0x10,
         {{0x100, 0xFF}},
         "line 2: extended linear address 0x0001 is not supported"},
        {"non-zero extended segment address stops the read",
         HexRecord(0x0000, {0x10, 0x00}, 0x02) + r0,
         TImageLoad::RecordFailed,
         0,
         {},
         "line 1: extended segment address 0x1000 is not supported"},
        {"extended address whose sum leaves out the type byte",
         r0 + ":020000040000FE\r\n" + r100,
         TImageLoad::RecordFailed,
         0x10,
         {{0x000, 0x10}},
         "line 2: checksum mismatch"},
        {"start address with a checksum error",
         r0 + badStartSum + end,
         TImageLoad::RecordFailed,
         0x10,
         {{0x000, 0x10}},
         "line 2: checksum mismatch"},
        {"extended address of the wrong length",
         HexRecord(0x0000, {0, 0, 0}, 0x04),
         TImageLoad::RecordFailed,
         0,
         {},
         "line 1: extended linear address record holds 3 bytes, not 2"},
        {"unknown record type",
         r0 + HexRecord(0x0000, {0x01}, 0x06),
         TImageLoad::RecordFailed,
         0x10,
         {},
         "line 2: record type 0x06 is not supported"},
        {"end record with another address",
         r0 + ":00000101FE\r\n",
         TImageLoad::RecordFailed,
         0x10,
         {},
         "line 2: end record other than :00000001FF"},
        {"record type that is not hexadecimal",
         typeNotHex + end,
         TImageLoad::RecordFailed,
         0,
         {},
         "line 1: record type is not hexadecimal"},
        {"record running past 0xFFFF fails and stores nothing",
         r0 + HexRecord(0xFFF8, Bytes(16, 0x77)) + end,
         TImageLoad::RecordFailed,
         0x10,
         {{0x10, 0xFF}, {0xFFF8, 0xFF}, {0xFFFF, 0xFF}},
         "line 2: 16 bytes at 0xFFF8 run past 0xFFFF"},
        {"a space inside a field fails the record",
         r0 + ":10 0000000" + r100,
         TImageLoad::RecordFailed,
         0x10,
         {},
         "line 2: address is not hexadecimal"},
        {"line end inside the data fails the record",
         r0 + ":10000000AABB\r\n",
         TImageLoad::RecordFailed,
         0x10,
         {},
         "line 2: line ends inside the data"},
        {"checksum field cut to one digit by the end of the file",
         ":0100000001F",
         TImageLoad::RecordFailed,
         0,
         {},
         "line 1: checksum mismatch"},
        {"record longer than one 255-character line piece fails",
         HexRecord(0x0000, Bytes(128, 0x33)) + end,
         TImageLoad::RecordFailed,
         0,
         {{0, 0xFF}},
         "line 1: line longer than 255 characters"},
    };
    // Records that change nothing are skipped wherever they stand; none of their bytes
    // reaches the image.
    const struct {
        const char* name;
        std::string record;
    } skipped[] = {
        {"zero extended segment address", HexRecord(0x0000, {0, 0}, 0x02)},
        {"start segment address", HexRecord(0x0000, {0x12, 0x34, 0x56, 0x78}, 0x03)},
        {"zero extended linear address", ":020000040000FA\r\n"},
        {"start linear address", HexRecord(0x0000, {0x00, 0x00, 0x12, 0x34}, 0x05)},
    };
    for (const auto& k : skipped) {
        const std::pair<const char*, std::string> at[] = {
            {" first", k.record + r0 + r100 + end},
            {" between data", r0 + k.record + r100 + end},
            {" before the end", r0 + r100 + k.record + end}};
        for (const auto& [where, text] : at)
            cases.push_back({std::string(k.name) + where,
                             text,
                             TImageLoad::Loaded,
                             0x110,
                             {{0x000, 0x10}, {0x003, 0x13}, {0x10F, 0x8F}, {0x110, 0xFF}}});
    }
    return cases;
}

class HexReaderTest : public ::testing::TestWithParam<HexCase> {};

TEST_P(HexReaderTest, FillsDestinationAndCount) {
    const HexCase& c = GetParam();
    rtd::test::TempDir dir;
    const std::string path = dir.Write("fw.hex", c.text);
    Bytes destination(kBank + 16, 0xFF);
    uint32_t count = 12345;
    std::string failure = "unchanged";
    EXPECT_EQ(LoadImageFile(path, destination.data(), count, kBank, &failure), c.result);
    EXPECT_EQ(count, c.count);
    EXPECT_EQ(failure, c.failure);
    for (const auto& [offset, value] : c.probes)
        EXPECT_EQ(destination[offset], value) << "offset 0x" << std::hex << offset;
    for (uint32_t i = count; i < destination.size(); ++i)
        ASSERT_EQ(destination[i], 0xFF) << "fill overwritten at 0x" << std::hex << i;
}

INSTANTIATE_TEST_SUITE_P(Records, HexReaderTest, ::testing::ValuesIn(HexCases()),
                         rtd::test::CaseName());

TEST(HexReader, LimitBoundsTheCopyEvenWhenTheFileReachesFurther) {
    rtd::test::TempDir dir;
    const std::string path = dir.Write("fw.hex", HexRecord(0x0000, Ramp(32)) + ":00000001FF\r\n");
    Bytes destination(64, 0xEE);
    uint32_t count = 0;
    EXPECT_EQ(LoadImageFile(path, destination.data(), count, 20), TImageLoad::Loaded);
    EXPECT_EQ(count, 20u);
    EXPECT_EQ(destination[19], 19);
    EXPECT_EQ(destination[20], 0xEE);
}

TEST(HexReader, HighestEndOnlyGrowsAndReadOkFollowsEachRead) {
    rtd::test::TempDir dir;
    THexToBin reader;
    EXPECT_FALSE(reader.ReadOk);
    reader.ReadHexFile(dir.Write("a.hex", HexRecord(0x0100, {1}) + ":00000001FF\r\n"));
    EXPECT_TRUE(reader.ReadOk);
    EXPECT_EQ(reader.HighestEnd, 0x101);
    reader.ReadHexFile(dir.Write("b.hex", HexRecord(0x0000, {2}) + ":0100"));
    EXPECT_FALSE(reader.ReadOk);
    EXPECT_EQ(reader.HighestEnd, 0x101);
    // The second read cleared the image before loading its own record.
    EXPECT_EQ(reader.Buffer[0x100], 0x00);
    EXPECT_EQ(reader.Buffer[0x000], 0x02);
    reader.ReadHexFile(dir.Path("missing.hex"));
    EXPECT_FALSE(reader.ReadOk);
    EXPECT_FALSE(reader.Opened);
    EXPECT_EQ(reader.Buffer[0x000], 0x02);
}

// Which reader a path goes to: a HEX text read raw has the file's size as its count.
TEST(LoadImageFile, ExtensionPicksTheReader) {
    struct Case {
        const char* name;
        bool hex;
    };
    const Case cases[] = {{"fw.hex", true},  {"FW.HEX", true},   {"fw.H00", true},
                          {"fw.h01", true},  {"fw.Hex", true},   {"fw.bin", false},
                          {"fw.kvf", false}, {"fw", false},      {"fw.hex.txt", false},
                          {"fw.h02", false}, {"fw.hexx", false}, {"fw.bin.hex", true}};
    rtd::test::TempDir dir;
    const std::string text = HexRecord(0x0000, {0xC3}) + ":00000001FF\r\n";
    for (const Case& c : cases) {
        const std::string path = dir.Write(c.name, text);
        Bytes destination(256, 0xFF);
        uint32_t count = 0;
        EXPECT_EQ(LoadImageFile(path, destination.data(), count, 256), TImageLoad::Loaded)
            << c.name;
        EXPECT_EQ(count, c.hex ? 1u : text.size()) << c.name;
        EXPECT_EQ(destination[0], c.hex ? 0xC3 : ':') << c.name;
    }
}

TEST(LoadImageFile, RawFiles) {
    struct Case {
        const char* name;
        size_t size;
        uint32_t limit;
        uint32_t count;
    };
    const Case cases[] = {
        {"empty", 0, 131072, 0},
        {"shorter than the limit", 100000, 131072, 100000},
        {"exactly the limit", 65536, 65536, 65536},
        {"longer than the limit", 70000, 65536, 65536},
    };
    rtd::test::TempDir dir;
    for (const Case& c : cases) {
        const std::string path = dir.Write("fw.bin", Ramp(c.size, 7));
        Bytes destination(c.limit + 8, 0xFF);
        uint32_t count = 99;
        EXPECT_EQ(LoadImageFile(path, destination.data(), count, c.limit), TImageLoad::Loaded)
            << c.name;
        EXPECT_EQ(count, c.count) << c.name;
        EXPECT_EQ(Bytes(destination.begin(), destination.begin() + c.count), Ramp(c.count, 7))
            << c.name;
        for (size_t i = c.count; i < destination.size(); ++i)
            ASSERT_EQ(destination[i], 0xFF) << c.name << " at " << i;
    }
}

TEST(LoadImageFile, UnreadableFilesLeaveTheDestinationAlone) {
    rtd::test::TempDir dir;
    const std::string folderHex = dir.MakeFolder("folder.hex");
    const std::string folderBin = dir.MakeFolder("folder.bin");
    for (const std::string& path :
         {dir.Path("missing.hex"), dir.Path("missing.bin"), folderHex, folderBin}) {
        Bytes destination(64, 0xFF);
        uint32_t count = 99;
        EXPECT_EQ(LoadImageFile(path, destination.data(), count, 64), TImageLoad::OpenFailed)
            << path;
        EXPECT_EQ(count, 0u) << path;
        EXPECT_EQ(destination, Bytes(64, 0xFF)) << path;
    }
}

} // namespace

// The Write command end to end against the chip model: files in a temporary folder, the
// engine with a recording message list, virtual waits.
#include <gtest/gtest.h>
#include <ostream>

#include <functional>
#include <string>
#include <vector>

#include "CaseName.h"
#include "ChipModel.h"
#include "EngineFixture.h"
#include "ExpectedTrace.h"
#include "HexText.h"
#include "Kvfpack.h"
#include "Writeunit.h"

namespace {

using Bytes = std::vector<uint8_t>;
using Lines = std::vector<std::string>;
using rtd::test::Events;
using rtd::test::ProgramBankTrace;
using rtd::test::operator+;

constexpr size_t kBank = 65536;

// Data with no 0xFF byte, so that every byte counts toward the used length.
const auto& Data = rtd::test::CountingImage;

Bytes Window(const Bytes& image, size_t from) {
    Bytes w(kBank, 0xFF);
    for (size_t i = 0; i < kBank && from + i < image.size(); ++i)
        w[i] = image[from + i];
    return w;
}

const Bytes kBlank(kBank, 0xFF);

// The case tables set files up through the folder and Hex.
class WriteTest : public rtd::test::EngineFixture {
public:
    WriteTest() {
        bus.SetInner(&chip);
        unit->AutoFireSecond = true;
    }
    using EngineFixture::folder;

    std::string Hex(const std::string& name, const Bytes& data) {
        return folder.Write(name, rtd::test::HexFileFor(data, data.size()));
    }

    void ExpectUntouched() {
        EXPECT_EQ(chip.Stats().writes, 0);
        EXPECT_EQ(chip.Stats().reads, 0);
        EXPECT_EQ(chip.Flash(0), kBlank);
        EXPECT_EQ(chip.Flash(1), kBlank);
    }

    rtd::sim::ChipModel chip;
};

const Lines kRawOneBank = {"Begin...", "Fire Bank0...", "Erase...", "Write..."};
const Lines kRawTwoBanks = {"Begin...", "Fire Bank0...", "Erase...",
                            "Write...", "Fire Bank1...", "Write..."};
const Lines kHexOneBank = {"Begin...", "Erase...", "Write..."};
const Lines kHexTwoBanks = {"Begin...", "Erase...", "Write...", "Write..."};

struct FlowCase {
    const char* name;
    // Writes the files and returns the path to write; fills the expected banks.
    std::function<std::string(WriteTest&, Bytes& bank0, Bytes& bank1)> setUp;
    Lines lines; // "LoadFile:" stands for "LoadFile:" + the path
    bool autoFireSecond = true;
};

// Failure messages name the case; the default printer would dump its raw bytes.
void PrintTo(const FlowCase& c, std::ostream* out) {
    *out << c.name;
}

class WriteFlows : public WriteTest, public ::testing::WithParamInterface<FlowCase> {};

TEST_P(WriteFlows, ProgramsTheBanksItShould) {
    const FlowCase& c = GetParam();
    unit->AutoFireSecond = c.autoFireSecond;
    Bytes bank0 = kBlank, bank1 = kBlank;
    const std::string path = c.setUp(*this, bank0, bank1);
    Lines expected = c.lines;
    for (std::string& line : expected)
        if (line == "LoadFile:")
            line += path;

    EXPECT_TRUE(WriteFirmware(path));
    EXPECT_EQ(list.Lines(), expected);
    EXPECT_TRUE(chip.Flash(0) == bank0);
    EXPECT_TRUE(chip.Flash(1) == bank1);
    EXPECT_FALSE(chip.InIsp()); // the last bank call leaves ISP mode
    EXPECT_GT(chip.Stats().erases, 0);
    EXPECT_EQ(events.front(), "C"); // the list is cleared first
}

std::vector<FlowCase> FlowCases() {
    using T = WriteTest;
    return {
        {"raw image with data in both banks",
         [](T& t, Bytes& b0, Bytes& b1) {
             const Bytes image = Data(2 * kBank, 1);
             b0 = Window(image, 0);
             b1 = Window(image, kBank);
             return t.folder.Write("fw.bin", image);
         },
         kRawTwoBanks},
        {"raw image whose last data byte is at 0xFFFF",
         [](T& t, Bytes& b0, Bytes&) {
             Bytes image(2 * kBank, 0xFF);
             image[0] = 0x01;
             image[0xFFFF] = 0x02;
             b0 = Window(image, 0);
             return t.folder.Write("fw.bin", image);
         },
         kRawOneBank},
        {"raw image whose last data byte is at 0x10000",
         [](T& t, Bytes& b0, Bytes& b1) {
             Bytes image(2 * kBank, 0xFF);
             image[0] = 0x01;
             image[0x10000] = 0x02;
             b0 = Window(image, 0);
             b1 = Window(image, kBank);
             return t.folder.Write("fw.bin", image);
         },
         kRawTwoBanks},
        {"raw file of 100000 bytes",
         [](T& t, Bytes& b0, Bytes& b1) {
             const Bytes image = Data(100000, 2);
             b0 = Window(image, 0);
             b1 = Window(image, kBank);
             return t.folder.Write("FW.BIN", image);
         },
         kRawTwoBanks},
        {"raw file longer than the whole image",
         [](T& t, Bytes& b0, Bytes& b1) {
             const Bytes image = Data(3 * kBank, 3);
             b0 = Window(image, 0);
             b1 = Window(image, kBank);
             return t.folder.Write("fw.bin", image);
         },
         kRawTwoBanks},
        {"raw image whose bank 0 is all 0xFF",
         [](T& t, Bytes&, Bytes& b1) {
             Bytes image(kBank, 0xFF);
             b1 = Data(kBank, 15);
             image.insert(image.end(), b1.begin(), b1.end());
             return t.folder.Write("fw.bin", image);
         },
         kRawTwoBanks},
        {"empty raw file programs a blank bank 0",
         [](T& t, Bytes&, Bytes&) { return t.folder.Write("fw.bin", Bytes()); }, kRawOneBank},
        {"HEX file with its extend file",
         [](T& t, Bytes& b0, Bytes& b1) {
             const Bytes main = Data(300, 4), extend = Data(70000, 5);
             b0 = Window(main, 0);
             b1 = Window(extend, 0); // a raw extend file gives its first 65,536 bytes
             t.folder.Write("fw_Extend.bin", extend);
             return t.Hex("fw.hex", main);
         },
         kHexTwoBanks},
        {"HEX file with AutoFireSecond cleared ignores the extend file",
         [](T& t, Bytes& b0, Bytes&) {
             const Bytes main = Data(300, 4);
             b0 = Window(main, 0);
             t.folder.Write("fw_Extend.bin", Data(10, 0));
             return t.Hex("fw.hex", main);
         },
         kHexOneBank, false},
        {"upper-case HEX name looks for its extend file under its own case",
         [](T& t, Bytes& b0, Bytes& b1) {
             const Bytes main = Data(0x1234, 6), extend = Data(0x800, 7);
             b0 = Window(main, 0);
             b1 = Window(extend, 0);
             t.Hex("FW_Extend.hex", extend); // read as Intel HEX
             return t.Hex("FW.HEX", main);
         },
         kHexTwoBanks},
        {"base name's extend file wins over the fixed names",
         [](T& t, Bytes& b0, Bytes& b1) {
             const Bytes main = Data(64, 8), extend = Data(64, 9);
             b0 = Window(main, 0);
             b1 = Window(extend, 0);
             t.folder.Write("fw_Extend.bin", extend);
             t.Hex("DEROredovOrovav.hex", Data(64, 10));
             return t.Hex("fw.h00", main);
         },
         kHexTwoBanks},
        {"a folder with an extend name is passed over",
         [](T& t, Bytes& b0, Bytes& b1) {
             const Bytes main = Data(64, 8), extend = Data(64, 11);
             b0 = Window(main, 0);
             b1 = Window(extend, 0);
             t.folder.MakeFolder("fw_Extend.bin");
             t.folder.Write("DEROredovOrovav.bin", extend);
             return t.Hex("fw.hex", main);
         },
         kHexTwoBanks},
        {"main file that is its own extend file",
         [](T& t, Bytes& b0, Bytes& b1) {
             const Bytes main = Data(500, 12);
             b0 = b1 = Window(main, 0);
             return t.Hex("DEROredovOrovav.hex", main);
         },
         kHexTwoBanks},
        {"HEX file whose data end at 0x10000",
         [](T& t, Bytes& b0, Bytes&) {
             const Bytes main = Data(kBank, 13);
             b0 = main;
             return t.Hex("fw.hex", main);
         },
         kHexOneBank},
        {"packed file with data in both banks",
         [](T& t, Bytes& b0, Bytes& b1) {
             const Bytes image = Data(2 * kBank, 14);
             b0 = Window(image, 0);
             b1 = Window(image, kBank);
             const std::string path = t.folder.Path("fw.kvf");
             rtd::image::WriteKvfFile(path, image.data());
             return path;
         },
         {"Begin...", "LoadFile:", "Fire Bank0...", "Erase...", "Write...", "Fire Bank1...",
          "Write..."}},
        {"packed file without an extension, one bank",
         [](T& t, Bytes& b0, Bytes&) {
             Bytes image(2 * kBank, 0xFF);
             image[7] = 0x42;
             b0 = Window(image, 0);
             const std::string path = t.folder.Path("firmware");
             rtd::image::WriteKvfFile(path, image.data());
             return path;
         },
         {"Begin...", "LoadFile:", "Fire Bank0...", "Erase...", "Write..."}},
    };
}

INSTANTIATE_TEST_SUITE_P(Files, WriteFlows, ::testing::ValuesIn(FlowCases()),
                         rtd::test::CaseName());

struct RefusedCase {
    const char* name;
    std::function<std::string(WriteTest&)> setUp;
    Lines lines; // "LoadFile:" stands for "LoadFile:" + the path
};

// Failure messages name the case; the default printer would dump its raw bytes.
void PrintTo(const RefusedCase& c, std::ostream* out) {
    *out << c.name;
}

class RefusedFiles : public WriteTest, public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(RefusedFiles, NeverReachTheChip) {
    const RefusedCase& c = GetParam();
    const std::string path = c.setUp(*this);
    Lines expected = c.lines;
    for (std::string& line : expected)
        if (line == "LoadFile:")
            line += path;
    EXPECT_FALSE(WriteFirmware(path));
    EXPECT_EQ(list.Lines(), expected);
    ExpectUntouched();
}

std::vector<RefusedCase> RefusedCases() {
    using T = WriteTest;
    const Lines openError = {"Begin...", "File open error."};
    const Lines formatError = {"Begin...", "File format error."};
    const Lines packedError = {"Begin...", "LoadFile:", "File format error."};
    const std::string good = rtd::test::HexRecord(0, {1, 2, 3}) + ":00000001FF\r\n";
    return {
        {"missing HEX file", [](T& t) { return t.folder.Path("fw.hex"); }, openError},
        {"missing raw file", [](T& t) { return t.folder.Path("fw.bin"); }, openError},
        {"folder named like a raw file", [](T& t) { return t.folder.MakeFolder("fw.bin"); },
         openError},
        {"HEX file with a checksum error",
         [](T& t) { return t.folder.Write("fw.hex", ":0300000001020301\r\n"); }, formatError},
        {"HEX file with an extended address record",
         [good](T& t) {
             return t.folder.Write("fw.hex", rtd::test::HexRecord(0, {0, 1}, 0x04) + good);
         },
         formatError},
        {"HEX extend file with a record past 0xFFFF",
         [good](T& t) {
             t.folder.Write("fw_Extend.hex", rtd::test::HexRecord(0xFFFF, {1, 2}));
             return t.folder.Write("fw.hex", good);
         },
         formatError},
        {"missing packed file", [](T& t) { return t.folder.Path("fw.kvf"); }, packedError},
        {"HEX text with the .h01 extension goes to the packed flow",
         [good](T& t) { return t.folder.Write("fw.h01", good); }, packedError},
        {"packed file too short to hold an image",
         [](T& t) {
             Bytes file(300, 0x00);
             std::copy_n("ZEQ KVF V1.0", 12, file.begin());
             return t.folder.Write("fw.kvf", file);
         },
         packedError},
    };
}

INSTANTIATE_TEST_SUITE_P(Files, RefusedFiles, ::testing::ValuesIn(RefusedCases()),
                         rtd::test::CaseName());

// A packed write event by event: every transfer, wait, progress message and line. Bank 1
// has an all-0xFF page between its data, which is not sent but still counts for progress.
TEST_F(WriteTest, PackedWriteTracesEveryEvent) {
    Bytes image(2 * kBank, 0xFF);
    const Bytes code = Data(700, 16);
    std::copy(code.begin(), code.end(), image.begin());
    std::copy(code.begin(), code.begin() + 100, image.begin() + kBank);
    std::copy(code.begin(), code.begin() + 50, image.begin() + kBank + 600);
    const std::string path = folder.Path("fw.kvf");
    ASSERT_TRUE(rtd::image::WriteKvfFile(path, image.data()));

    EXPECT_TRUE(WriteFirmware(path));
    rtd::test::ExpectTrace(
        events, Events{"C", "L Begin...", "L LoadFile:" + path, "L Fire Bank0..."} +
                    ProgramBankTrace(image.data(), 0, true, false) + Events{"L Fire Bank1..."} +
                    ProgramBankTrace(image.data() + kBank, 1, false, true));
}

TEST_F(WriteTest, FailedBankZeroIsNotFollowedByBankOne) {
    ASSERT_TRUE(chip.AddFault("stuck=0:10"));
    EXPECT_FALSE(WriteFirmware(folder.Write("fw.bin", Data(2 * kBank, 1))));
    EXPECT_EQ(list.Lines(),
              (Lines{"Begin...", "Fire Bank0...", "Erase...", "Write...", "Crc Error!"}));
    EXPECT_EQ(chip.Flash(1), kBlank);
}

TEST_F(WriteTest, FailedBankOneKeepsBankZeroButFails) {
    ASSERT_TRUE(chip.AddFault("stuck=1:10"));
    const Bytes image = Data(2 * kBank, 1);
    EXPECT_FALSE(WriteFirmware(folder.Write("fw.bin", image)));
    EXPECT_EQ(list.Lines(), (Lines{"Begin...", "Fire Bank0...", "Erase...", "Write...",
                                   "Fire Bank1...", "Write...", "Crc Error!"}));
    EXPECT_TRUE(chip.Flash(0) == Window(image, 0));
}

TEST_F(WriteTest, ProgramBankFromFileLoadsBeforeItProgrammes) {
    EXPECT_FALSE(ProgramBankFromFile(folder.Path("missing.bin"), 0, true, true));
    EXPECT_FALSE(ProgramBankFromFile(folder.Write("bad.hex", ":0100000001FF\r\n"), 0, true, true));
    EXPECT_EQ(list.Lines(), (Lines{"File open error.", "File format error."}));
    ExpectUntouched();

    const Bytes data = Data(1000, 20);
    EXPECT_TRUE(ProgramBankFromFile(Hex("good.hex", data), 0, true, true));
    EXPECT_TRUE(chip.Flash(0) == Window(data, 0));
}

// Each named flow programs its own plan: the lines and banks Write gives for such a file,
// less "Begin...".
TEST_F(WriteTest, NamedFlowsProgramTheirPlan) {
    unit->AutoFireSecond = false;
    const Bytes hex = Data(300, 4), raw = Data(2 * kBank, 1);
    Bytes packedImage(2 * kBank, 0xFF);
    packedImage[7] = 0x42;
    const std::string packed = folder.Path("fw.kvf");
    ASSERT_TRUE(rtd::image::WriteKvfFile(packed, packedImage.data()));
    const struct {
        const char* name;
        std::function<bool()> run;
        Lines lines;
        Bytes bank0, bank1;
    } cases[] = {
        {"WriteHexFile",
         [&] { return WriteHexFile(Hex("fw.hex", hex)); },
         {"Erase...", "Write..."},
         Window(hex, 0),
         kBlank},
        {"WriteBinFile",
         [&] { return WriteBinFile(folder.Write("fw.bin", raw)); },
         {"Fire Bank0...", "Erase...", "Write...", "Fire Bank1...", "Write..."},
         Window(raw, 0),
         Window(raw, kBank)},
        {"WritePackedFile",
         [&] { return WritePackedFile(packed); },
         {"LoadFile:" + packed, "Fire Bank0...", "Erase...", "Write..."},
         Window(packedImage, 0),
         kBlank},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        list.Clear();
        EXPECT_TRUE(c.run());
        EXPECT_EQ(list.Lines(), c.lines);
        EXPECT_TRUE(chip.Flash(0) == c.bank0);
        EXPECT_TRUE(chip.Flash(1) == c.bank1);
    }
    list.Clear();
    EXPECT_FALSE(WritePackedFile(folder.Path("missing.kvf")));
    EXPECT_EQ(list.Lines(),
              (Lines{"LoadFile:" + folder.Path("missing.kvf"), "File format error."}));
}

TEST_F(WriteTest, FindExtendFileLooksOnlyBesideTheMainFile) {
    folder.MakeFolder("sub");
    folder.Write("DEROredovOrovav.bin", Data(4, 0));
    std::string found;
    EXPECT_FALSE(FindExtendFile(folder.Path("sub") + "/fw.hex", found));
    EXPECT_TRUE(FindExtendFile(folder.Path("fw.hex"), found));
    EXPECT_EQ(found, folder.Path("DEROredovOrovav.bin"));
}

} // namespace

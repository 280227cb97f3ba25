// The flow and bank decisions a Write makes, taken without a bus.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "FirmwarePlan.h"
#include "HexText.h"
#include "Kvfpack.h"
#include "TempDir.h"

namespace {

using Bytes = std::vector<uint8_t>;
using rtd::image::FirmwareFlow;
using rtd::image::FirmwarePlan;
using rtd::image::PlanStatus;

TEST(FirmwarePlan, FlowFollowsTheLowerCasedExtension) {
    const struct {
        const char* path;
        FirmwareFlow flow;
    } cases[] = {
        {"C:\\fw\\a.hex", FirmwareFlow::Hex},
        {"a.HEX", FirmwareFlow::Hex},
        {"a.H00", FirmwareFlow::Hex},
        {"a.h01", FirmwareFlow::Packed},
        {"a.bin", FirmwareFlow::Raw},
        {"a.BIN", FirmwareFlow::Raw},
        {"a.kvf", FirmwareFlow::Packed},
        {"a", FirmwareFlow::Packed},
        {"C:\\fw.hex\\a", FirmwareFlow::Packed},
        {"/tmp/fw.bin/a", FirmwareFlow::Packed},
        {"C:fw.bin", FirmwareFlow::Raw},
        {"a.bin.hex", FirmwareFlow::Hex},
        {"dir.bin:stream", FirmwareFlow::Packed},
    };
    for (const auto& c : cases)
        EXPECT_EQ(rtd::image::FlowForPath(c.path), c.flow) << c.path;
}

TEST(FirmwarePlan, ExtendBaseIsCutAtTheFirstOccurrenceOfTheExtension) {
    const struct {
        const char* path;
        const char* base;
    } cases[] = {
        {"C:\\fw\\fw.hex", "fw"},       {"fw.hex.hex", "fw"}, {"rev.hexdump.hex", "rev"},
        {"D:\\X\\FW.HEX", "FW"},        {"C:\\fw\\.hex", ""}, {"noext", ""},
        {"/home/u/board.h00", "board"}, {"a.b\\c.hex", "c"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(rtd::image::ExtendBaseName(c.path), c.base) << c.path;
}

TEST(FirmwarePlan, ExtendFileCandidatesInOrderOfPreference) {
    const std::string main = "C:\\fw\\Main.hex";
    const struct {
        std::set<std::string> present;
        const char* expected; // "" when none is found
    } cases[] = {
        {{"C:\\fw\\Main_Extend.bin", "C:\\fw\\Main_Extend.hex", "C:\\fw\\DEROredovOrovav.bin",
          "C:\\fw\\DEROredovOrovav.hex"},
         "C:\\fw\\Main_Extend.bin"},
        {{"C:\\fw\\Main_Extend.hex", "C:\\fw\\DEROredovOrovav.bin"}, "C:\\fw\\Main_Extend.hex"},
        {{"C:\\fw\\DEROredovOrovav.hex", "C:\\fw\\DEROredovOrovav.bin"},
         "C:\\fw\\DEROredovOrovav.bin"},
        {{"C:\\fw\\DEROredovOrovav.hex"}, "C:\\fw\\DEROredovOrovav.hex"},
        {{"C:\\other\\Main_Extend.bin", "Main_Extend.bin", "DEROredovOrovav.hex"}, ""},
        {{}, ""},
    };
    for (const auto& c : cases) {
        std::vector<std::string> asked;
        std::string found = "unchanged";
        const bool ok = rtd::image::FindExtendFile(main, found, [&](const std::string& p) {
            asked.push_back(p);
            return c.present.count(p) > 0;
        });
        EXPECT_EQ(ok, *c.expected != '\0') << c.expected;
        EXPECT_EQ(found, ok ? c.expected : "unchanged");
        for (const std::string& p : asked)
            EXPECT_EQ(p.rfind("C:\\fw\\", 0), 0u) << p;
    }
}

TEST(FirmwarePlan, RawImagesNeedBankOneOnlyForDataAboveTheFirstWindow) {
    const struct {
        const char* name;
        size_t size;
        size_t lastData; // offset of the one byte other than 0xFF, or SIZE_MAX
        uint32_t used;
        bool bank1;
    } cases[] = {
        {"empty file", 0, SIZE_MAX, 0, false},
        {"all erased", 131072, SIZE_MAX, 0, false},
        {"data at 0xFFFF", 131072, 0xFFFF, 0x10000, false},
        {"data at 0x10000", 131072, 0x10000, 0x10001, true},
        {"data at the very end", 131072, 0x1FFFF, 0x20000, true},
        {"file of exactly one window", 65536, 0xFFFF, 0x10000, false},
        {"longer than the whole image", 140000, 139999, 0, false},
    };
    rtd::test::TempDir dir;
    for (const auto& c : cases) {
        Bytes file(c.size, 0xFF);
        if (c.lastData != SIZE_MAX)
            file[c.lastData] = 0x00;
        const FirmwarePlan plan = rtd::image::PlanRawFirmware(dir.Write("fw.bin", file));
        ASSERT_TRUE(plan.Ready()) << c.name;
        EXPECT_EQ(plan.UsedLength(), c.used) << c.name;
        EXPECT_EQ(plan.programBank1, c.bank1) << c.name;
        // One data byte: it lies in one window, the other is blank.
        EXPECT_EQ(plan.WrittenLength(0), c.used <= 0x10000 ? c.used : 0) << c.name;
        EXPECT_EQ(plan.WrittenLength(1), c.used > 0x10000 ? c.used - 0x10000 : 0) << c.name;
    }
}

TEST(FirmwarePlan, HexFilesAndTheirExtendFile) {
    rtd::test::TempDir dir;
    Bytes main(300);
    for (size_t i = 0; i < main.size(); ++i)
        main[i] = static_cast<uint8_t>(i);
    const std::string mainPath = dir.Write("fw.hex", rtd::test::HexFileFor(main, main.size()));
    const std::string extendPath = dir.Write("fw_Extend.bin", Bytes(70000, 0x5A));
    const auto exists = [](const std::string& p) { return !rtd::test::ReadFileBytes(p).empty(); };

    FirmwarePlan plan = rtd::image::PlanHexFirmware(mainPath, true, exists);
    ASSERT_TRUE(plan.Ready());
    EXPECT_TRUE(plan.programBank1);
    EXPECT_EQ(plan.extendPath, extendPath);
    EXPECT_EQ(plan.WrittenLength(0), 300u);
    EXPECT_EQ(plan.WrittenLength(1), 65536u); // a raw extend file is cut to one window
    EXPECT_TRUE(std::equal(main.begin(), main.end(), plan.Bank(0)));

    plan = rtd::image::PlanHexFirmware(mainPath, false, exists);
    ASSERT_TRUE(plan.Ready());
    EXPECT_FALSE(plan.programBank1);
    EXPECT_EQ(plan.UsedLength(), 300u);
}

TEST(FirmwarePlan, RefusalsNameTheFileAndTheReason) {
    rtd::test::TempDir dir;
    const std::string good = rtd::test::HexRecord(0, {1, 2, 3}) + ":00000001FF\r\n";
    const std::string bad = rtd::test::HexRecord(0, {1, 2, 3}, 0x04);
    const auto exists = [](const std::string& p) { return !rtd::test::ReadFileBytes(p).empty(); };
    const struct {
        const char* name;
        std::string path;
        PlanStatus status;
        std::string failed;
    } cases[] = {
        {"missing HEX main file", dir.Path("a.hex"), PlanStatus::OpenError, dir.Path("a.hex")},
        {"missing raw file", dir.Path("a.bin"), PlanStatus::OpenError, dir.Path("a.bin")},
        {"missing packed file", dir.Path("a.kvf"), PlanStatus::FormatError, dir.Path("a.kvf")},
        {"HEX main file with a bad record", dir.Write("b.hex", bad), PlanStatus::FormatError,
         dir.Path("b.hex")},
        {"HEX extend file with a bad record", dir.Write("c.hex", good), PlanStatus::FormatError,
         dir.Write("c_Extend.hex", bad)},
        {"packed file that is not one", dir.Write("d.h01", good), PlanStatus::FormatError,
         dir.Path("d.h01")},
    };
    for (const auto& c : cases) {
        const FirmwarePlan plan = rtd::image::PlanFirmware(c.path, true, exists);
        EXPECT_EQ(plan.status, c.status) << c.name;
        EXPECT_EQ(plan.failedPath, c.failed) << c.name;
        EXPECT_TRUE(plan.image.empty()) << c.name;
        EXPECT_TRUE(plan.Banks().empty()) << c.name;
    }
}

// The bank calls a write makes, with what each sends and verifies: what the Write command
// runs and what the host's tools show.
TEST(FirmwarePlan, BankCallsAreTheWritesOwn) {
    struct Call {
        int bank;
        bool eraseFirst, exitAfter;
        std::string announce; // "" for none
        uint32_t written;
        int pages;
        uint32_t crcLength;
        uint16_t crcEnd;
    };
    rtd::test::TempDir dir;
    Bytes image(131072, 0xFF);
    image[0x10] = 0x01;
    image[0x101FF] = 0x02; // bank 1: an erased page, then one byte
    const std::string packed = dir.Path("fw.kvf");
    ASSERT_TRUE(rtd::image::WriteKvfFile(packed, image.data()));
    dir.Write("fw_Extend.bin", Bytes(70000, 0x5A));
    const auto exists = [](const std::string& p) { return !rtd::test::ReadFileBytes(p).empty(); };
    const struct {
        const char* name;
        std::string path;
        std::string loadLine;
        std::vector<Call> calls;
    } cases[] = {
        {"empty raw image: the whole bank is verified",
         dir.Write("empty.bin", Bytes()),
         "",
         {{0, true, true, "Fire Bank0...", 0, 0, 65536, 0xFFFF}}},
        {"two-bank packed file",
         packed,
         "LoadFile:" + packed,
         {{0, true, false, "Fire Bank0...", 0x11, 1, 0x11, 0x10},
          {1, false, true, "Fire Bank1...", 0x200, 1, 0x200, 0x1FF}}},
        {"HEX file with a raw extend file",
         dir.Write("fw.hex", rtd::test::HexFileFor(Bytes(300, 0x00), 300)),
         "",
         {{0, true, false, "", 300, 2, 300, 299}, {1, false, true, "", 65536, 256, 65536, 0xFFFF}}},
    };
    for (const auto& c : cases) {
        const FirmwarePlan plan = rtd::image::PlanFirmware(c.path, true, exists);
        ASSERT_TRUE(plan.Ready()) << c.name;
        EXPECT_EQ(plan.LoadLine(), c.loadLine) << c.name;
        const std::vector<rtd::image::BankProgram> banks = plan.Banks();
        ASSERT_EQ(banks.size(), c.calls.size()) << c.name;
        for (size_t i = 0; i < banks.size(); ++i) {
            const rtd::image::BankProgram& b = banks[i];
            const Call& want = c.calls[i];
            SCOPED_TRACE(std::string(c.name) + ", bank " + std::to_string(want.bank));
            EXPECT_EQ(b.bank, want.bank);
            EXPECT_EQ(b.window, plan.Bank(want.bank));
            EXPECT_EQ(b.eraseFirst, want.eraseFirst);
            EXPECT_EQ(b.exitAfter, want.exitAfter);
            EXPECT_EQ(b.announce ? b.announce : "", want.announce);
            EXPECT_EQ(b.writtenLength, want.written);
            EXPECT_EQ(b.pagesSent, want.pages);
            EXPECT_EQ(b.crcLength, want.crcLength);
            EXPECT_EQ(b.crcEnd, want.crcEnd);
        }
    }
}

TEST(FirmwarePlan, PackedFilesDecideBankOneLikeRawImages) {
    rtd::test::TempDir dir;
    Bytes image(131072, 0xFF);
    image[0x10000] = 0x12;
    const std::string path = dir.Path("fw.kvf");
    ASSERT_TRUE(rtd::image::WriteKvfFile(path, image.data()));
    const FirmwarePlan plan = rtd::image::PlanFirmware(path, true, nullptr);
    ASSERT_TRUE(plan.Ready());
    EXPECT_EQ(plan.flow, FirmwareFlow::Packed);
    EXPECT_TRUE(plan.programBank1);
    EXPECT_EQ(plan.image, image);
}

} // namespace

// The chip model driven byte by byte, as the engine and the reference host drive it.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "ChipModel.h"
#include "ReferenceCrc.h"
#include "TempDir.h"

namespace {

using rtd::sim::ChipModel;
using rtd::test::ReferenceCrc8;
using Bytes = std::vector<uint8_t>;

Bytes ParseHex(std::istringstream& in) {
    Bytes bytes;
    unsigned value;
    while (in >> std::hex >> value)
        bytes.push_back(static_cast<uint8_t>(value));
    return bytes;
}

// Runs a script of bus steps, hexadecimal throughout:
//   "W 94 90 40"   one write to address 94 of the bytes given
//   "R 90 40"      read register 90 (name it at 94, read one byte at 95), expect 40
//   "PAGE 12 A5"   address port 92 12 00, then a full page write of 256 bytes of A5
//   "ENTER"        90 40, 36 00
//   "CYCLE"        the power goes off and comes back
//   "CLEAR"        the faults are removed
void RunScript(ChipModel& chip, const std::vector<std::string>& script) {
    for (const std::string& line : script) {
        SCOPED_TRACE(line);
        std::istringstream in(line);
        std::string op;
        in >> op;
        const Bytes args = ParseHex(in);
        if (op == "W") {
            ASSERT_GE(args.size(), 2u);
            EXPECT_TRUE(chip.IicWrite(args[0], static_cast<int>(args.size() - 1), &args[1]));
        } else if (op == "R") {
            ASSERT_EQ(args.size(), 2u);
            const uint8_t reg = args[0];
            uint8_t value = 0xEE;
            ASSERT_TRUE(chip.IicWrite(0x94, 1, &reg));
            ASSERT_TRUE(chip.IicRead(0x95, 1, &value));
            EXPECT_EQ(value, args[1]);
        } else if (op == "PAGE") {
            ASSERT_EQ(args.size(), 2u);
            const uint8_t address[] = {0x92, args[0], 0x00};
            Bytes page(257, args[1]);
            page[0] = 0x94;
            EXPECT_TRUE(chip.IicWrite(0x96, 3, address));
            EXPECT_TRUE(chip.IicWrite(0x94, 257, page.data()));
        } else if (op == "CYCLE") {
            chip.PowerCycle();
        } else if (op == "CLEAR") {
            chip.ClearFaults();
        } else if (op == "ENTER") {
            const uint8_t control[] = {0x90, 0x40}, trigger[] = {0x36, 0x00};
            EXPECT_TRUE(chip.IicWrite(0x94, 2, control));
            EXPECT_TRUE(chip.IicWrite(0x94, 2, trigger));
        } else {
            FAIL() << "bad script step";
        }
    }
}

bool AllEqual(const std::vector<uint8_t>& bytes, size_t from, size_t to, uint8_t value) {
    for (size_t i = from; i < to; ++i)
        if (bytes[i] != value)
            return false;
    return true;
}

void Dirty(ChipModel& chip) {
    for (int bank = 0; bank < 2; ++bank)
        for (size_t i = 0; i < chip.Flash(bank).size(); ++i)
            chip.Flash(bank)[i] = static_cast<uint8_t>(i * 7 + bank);
}

struct ProtocolCase {
    const char* name;
    std::vector<std::string> faults;
    std::function<void(ChipModel&)> before;
    std::vector<std::string> script;
    std::function<void(const ChipModel&)> check;
};

const auto kNothing = [](ChipModel&) {};

TEST(ChipModelProtocol, ScriptsBehaveAsTheChip) {
    const std::vector<ProtocolCase> cases = {
        {"entry reports 0x40 and bank 0",
         {},
         kNothing,
         {"W 94 90 40", "W 94 36 00", "R 90 40"},
         [](const ChipModel& c) {
             EXPECT_TRUE(c.InIsp());
             EXPECT_EQ(c.SelectedBank(), 0);
             EXPECT_EQ(c.Stats().ispEntries, 1);
             EXPECT_EQ(c.Stats().entryAttempts, 1);
         }},
        {"status outside ISP mode is not 0x40", {}, kNothing, {"R 90 00"}, nullptr},
        {"trigger without control 0x40 does not enter",
         {},
         kNothing,
         {"W 94 90 60", "W 94 36 00", "R 90 00", "W 94 90 40", "W 94 36 01", "R 90 00"},
         [](const ChipModel& c) {
             EXPECT_FALSE(c.InIsp());
             EXPECT_EQ(c.Stats().entryAttempts, 1);
         }},
        {"bank select in ISP mode",
         {},
         kNothing,
         {"ENTER", "W 94 90 60", "R 90 60", "W 94 90 40", "R 90 40", "W 94 90 60"},
         [](const ChipModel& c) { EXPECT_EQ(c.SelectedBank(), 1); }},
        {"leaving and entering again selects bank 0",
         {},
         kNothing,
         {"ENTER", "W 94 90 60", "W 94 90 00", "R 90 00", "ENTER", "R 90 40"},
         [](const ChipModel& c) {
             EXPECT_EQ(c.Stats().ispExits, 1);
             EXPECT_EQ(c.Stats().ispEntries, 2);
         }},
        {"90 00 outside ISP mode is no exit",
         {},
         kNothing,
         {"W 94 90 00"},
         [](const ChipModel& c) { EXPECT_EQ(c.Stats().ispExits, 0); }},
        {"erase clears both banks",
         {},
         Dirty,
         {"ENTER", "W 94 90 C0", "R 90 40"},
         [](const ChipModel& c) {
             EXPECT_TRUE(AllEqual(c.Flash(0), 0, 65536, 0xFF));
             EXPECT_TRUE(AllEqual(c.Flash(1), 0, 65536, 0xFF));
             EXPECT_EQ(c.Stats().erases, 1);
         }},
        {"erase outside ISP mode does nothing",
         {},
         Dirty,
         {"W 94 90 C0", "W 94 36 00", "R 90 00"},
         [](const ChipModel& c) {
             EXPECT_EQ(c.Flash(1)[3], 3 * 7 + 1);
             EXPECT_EQ(c.Stats().erases, 0);
         }},
        {"erase-busy keeps bit 7 for N reads",
         {"erase-busy=2"},
         kNothing,
         {"ENTER", "W 94 90 C0", "R 90 C0", "R 90 C0", "R 90 40", "W 94 90 C0", "R 90 C0"},
         nullptr},
        {"clearing the faults ends the busy reads they added",
         {"erase-busy=5", "page-busy=5"},
         kNothing,
         {"ENTER", "W 94 90 C0", "R 90 C0", "PAGE 00 00", "R 90 D0", "CLEAR", "R 90 40"},
         nullptr},
        {"erase busy on bank 1 reads E0",
         {"erase-busy=1"},
         kNothing,
         {"ENTER", "W 94 90 60", "W 94 90 C0", "R 90 E0", "R 90 60"},
         nullptr},
        {"page programs the selected bank at the address",
         {},
         kNothing,
         {"ENTER", "PAGE 01 5A", "R 90 40", "W 94 90 60", "PAGE FF 11"},
         [](const ChipModel& c) {
             EXPECT_TRUE(AllEqual(c.Flash(0), 0x100, 0x200, 0x5A));
             EXPECT_EQ(c.Flash(0)[0xFF], 0xFF);
             EXPECT_EQ(c.Flash(0)[0x200], 0xFF);
             EXPECT_TRUE(AllEqual(c.Flash(1), 0xFF00, 0x10000, 0x11));
             EXPECT_TRUE(AllEqual(c.Flash(0), 0xFF00, 0x10000, 0xFF));
             EXPECT_EQ(c.Stats().pagesProgrammed, 2);
         }},
        {"programming only clears bits",
         {},
         [](ChipModel& c) { c.Flash(0)[0x305] = 0xF0; },
         {"ENTER", "PAGE 03 3C", "PAGE 02 FF", "PAGE 02 0F"},
         [](const ChipModel& c) {
             EXPECT_EQ(c.Flash(0)[0x305], 0x30);
             EXPECT_EQ(c.Flash(0)[0x304], 0x3C);
             EXPECT_EQ(c.Flash(0)[0x2AA], 0x0F);
         }},
        {"page writes of the wrong length or outside ISP mode are ignored",
         {},
         kNothing,
         {"PAGE 00 00", "ENTER", "W 94 94 00 00", "W 96 92 00"},
         [](const ChipModel& c) {
             EXPECT_TRUE(AllEqual(c.Flash(0), 0, 65536, 0xFF));
             EXPECT_EQ(c.Stats().pagesProgrammed, 0);
         }},
        {"page-busy keeps bit 4 for N reads",
         {"page-busy=3"},
         kNothing,
         {"ENTER", "PAGE 00 00", "R 90 50", "R 90 50", "R 90 50", "R 90 40"},
         nullptr},
        {"page-busy at one page only",
         {"page-busy=2@5"},
         kNothing,
         {"ENTER", "PAGE 04 00", "R 90 40", "PAGE 05 00", "R 90 50", "R 90 50", "R 90 40",
          "PAGE 06 00", "R 90 40"},
         nullptr},
        {"stuck byte keeps its value through programming",
         {"stuck=0:1234", "stuck=1:0"},
         kNothing,
         {"ENTER", "PAGE 12 00", "PAGE 00 00"},
         [](const ChipModel& c) {
             EXPECT_EQ(c.Flash(0)[0x1234], 0xFF);
             EXPECT_EQ(c.Flash(0)[0x1233], 0x00);
             EXPECT_EQ(c.Flash(0)[0x1235], 0x00);
             EXPECT_EQ(c.Flash(0)[0x0000], 0x00);
         }},
        {"crc-range-busy keeps bit 3 for N reads",
         {"crc-range-busy=2"},
         kNothing,
         {"ENTER", "W 96 92 00 00", "W 96 A0 00 0F", "R 90 48", "R 90 48", "R 90 40"},
         nullptr},
        {"busy periods count down together",
         {"erase-busy=1", "crc-range-busy=2"},
         kNothing,
         {"ENTER", "W 94 90 C0", "W 96 A0 00 00", "R 90 C8", "R 90 48", "R 90 40"},
         nullptr},
        {"crc-busy keeps bit 7 of A2 for N reads",
         {"crc-busy=3"},
         kNothing,
         {"ENTER", "W 96 92 00 00", "W 96 A0 00 00", "R 90 40", "W 94 A2 80", "R A2 80", "R A2 80",
          "R A2 80", "R A2 00", "R A3 F3"},
         [](const ChipModel& c) { EXPECT_EQ(c.Stats().crcComputations, 1); }},
        {"CRC engine does not start outside ISP mode",
         {},
         kNothing,
         {"W 94 A2 80", "R A2 00", "R A3 00"},
         [](const ChipModel& c) { EXPECT_EQ(c.Stats().crcComputations, 0); }},
        {"a cut leaves a page no status read reported done half programmed",
         {},
         Dirty,
         {"ENTER", "PAGE 12 00", "CYCLE", "R 90 00", "ENTER", "R 90 40"},
         [](const ChipModel& c) {
             EXPECT_TRUE(AllEqual(c.Flash(0), 0x1200, 0x1280, 0x00));
             EXPECT_EQ(c.Flash(0)[0x1280], static_cast<uint8_t>(0x1280 * 7));
             EXPECT_EQ(c.Flash(0)[0x12FF], static_cast<uint8_t>(0x12FF * 7));
         }},
        {"a page reported done survives a cut whole",
         {},
         Dirty,
         {"ENTER", "PAGE 12 00", "R 90 40", "CYCLE"},
         [](const ChipModel& c) { EXPECT_TRUE(AllEqual(c.Flash(0), 0x1200, 0x1300, 0x00)); }},
        {"a cut during an erase leaves bank 1 as it was",
         {},
         Dirty,
         {"ENTER", "W 94 90 C0", "CYCLE"},
         [](const ChipModel& c) {
             EXPECT_TRUE(AllEqual(c.Flash(0), 0, 65536, 0xFF));
             EXPECT_EQ(c.Flash(1)[3], 3 * 7 + 1);
         }},
        {"a page sent finishes the erase before it",
         {},
         Dirty,
         {"ENTER", "W 94 90 C0", "PAGE 00 00", "CYCLE"},
         [](const ChipModel& c) {
             EXPECT_TRUE(AllEqual(c.Flash(1), 0, 65536, 0xFF));
             EXPECT_TRUE(AllEqual(c.Flash(0), 0, 0x80, 0x00));
             EXPECT_TRUE(AllEqual(c.Flash(0), 0x80, 65536, 0xFF));
         }},
        {"unknown registers read 0", {}, kNothing, {"ENTER", "R 36 00", "R 55 00"}, nullptr},
        {"no-isp never enters",
         {"no-isp"},
         kNothing,
         {"ENTER", "R 90 00", "ENTER", "R 90 00", "ENTER", "R 90 00"},
         [](const ChipModel& c) {
             EXPECT_EQ(c.Stats().entryAttempts, 3);
             EXPECT_EQ(c.Stats().ispEntries, 0);
         }},
        {"isp-after enters from the N-th attempt on",
         {"isp-after=3"},
         kNothing,
         {"ENTER", "R 90 00", "ENTER", "R 90 00", "ENTER", "R 90 40", "W 94 90 00", "ENTER",
          "R 90 40"},
         [](const ChipModel& c) {
             EXPECT_EQ(c.Stats().entryAttempts, 4);
             EXPECT_EQ(c.Stats().ispEntries, 2);
         }},
    };
    for (const ProtocolCase& t : cases) {
        SCOPED_TRACE(t.name);
        ChipModel chip;
        for (const std::string& fault : t.faults)
            ASSERT_TRUE(chip.AddFault(fault)) << fault;
        t.before(chip);
        RunScript(chip, t.script);
        if (t.check)
            t.check(chip);
    }
}

uint8_t ChipCrc(ChipModel& chip, int bank, uint16_t start, uint16_t end) {
    const uint8_t select[] = {0x90, static_cast<uint8_t>(bank == 1 ? 0x60 : 0x40)};
    const uint8_t from[] = {0x92, static_cast<uint8_t>(start >> 8), static_cast<uint8_t>(start)};
    const uint8_t to[] = {0xA0, static_cast<uint8_t>(end >> 8), static_cast<uint8_t>(end)};
    const uint8_t go[] = {0xA2, 0x80}, result = 0xA3;
    chip.IicWrite(0x94, 2, select);
    chip.IicWrite(0x96, 3, from);
    chip.IicWrite(0x96, 3, to);
    chip.IicWrite(0x94, 2, go);
    chip.IicWrite(0x94, 1, &result);
    uint8_t crc = 0xEE;
    EXPECT_TRUE(chip.IicRead(0x95, 1, &crc));
    return crc;
}

TEST(ChipModelCrc, MatchesReferenceOverTheRange) {
    Bytes pattern(65536);
    for (size_t i = 0; i < pattern.size(); ++i)
        pattern[i] = static_cast<uint8_t>((i * 131) ^ (i >> 8));
    const Bytes digits = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};

    struct Case {
        const char* name;
        int bank;
        uint16_t start, end;
        int expected; // -1: the reference over the range
    };
    const Case cases[] = {
        {"check value of the nine digits", 1, 0x4000, 0x4008, 0xF4},
        {"single erased byte", 0, 0xFFFF, 0xFFFF, 0xF3},
        {"one byte of bank 0", 0, 0, 0, -1},
        {"partial range of bank 0", 0, 0x0123, 0x0456, -1},
        {"whole bank 0", 0, 0, 0xFFFF, -1},
        {"whole bank 1", 1, 0, 0xFFFF, -1},
        {"end before start is an empty range", 0, 0x0200, 0x01FF, 0x00},
    };
    ChipModel chip;
    chip.Flash(0) = pattern;
    chip.Flash(0)[0xFFFF] = 0xFF;
    for (size_t i = 0; i < pattern.size(); ++i)
        chip.Flash(1)[i] = static_cast<uint8_t>(~pattern[i]);
    std::copy(digits.begin(), digits.end(), chip.Flash(1).begin() + 0x4000);
    RunScript(chip, {"ENTER"});
    for (const Case& t : cases) {
        SCOPED_TRACE(t.name);
        const auto& bank = chip.Flash(t.bank);
        const uint8_t expected =
            t.expected >= 0
                ? static_cast<uint8_t>(t.expected)
                : ReferenceCrc8(Bytes(bank.begin() + t.start, bank.begin() + t.end + 1));
        EXPECT_EQ(ChipCrc(chip, t.bank, t.start, t.end), expected);
    }
}

TEST(ChipModelBus, FailuresAndCounters) {
    struct Case {
        const char* name;
        const char* fault; // null: none
        uint8_t address;
        bool write;
        bool expected;
    };
    const Case cases[] = {
        {"write to the register port", nullptr, 0x94, true, true},
        {"write to the address port", nullptr, 0x96, true, true},
        {"write to another address", nullptr, 0x40, true, false},
        {"read from the read port", nullptr, 0x95, false, true},
        {"read from a write port", nullptr, 0x94, false, false},
        {"drop-writes", "drop-writes", 0x94, true, false},
        {"read-fail", "read-fail", 0x95, false, false},
    };
    for (const Case& t : cases) {
        SCOPED_TRACE(t.name);
        ChipModel chip;
        if (t.fault) {
            ASSERT_TRUE(chip.AddFault(t.fault));
        }
        const uint8_t bytes[] = {0x90, 0x40, 0x00};
        uint8_t buffer[2] = {0xA5, 0xA5};
        const bool ok =
            t.write ? chip.IicWrite(t.address, 3, bytes) : chip.IicRead(t.address, 2, buffer);
        EXPECT_EQ(ok, t.expected);
        if (!ok && !t.write) {
            EXPECT_EQ(buffer[0] | buffer[1] << 8, 0xA5A5);
        }
        EXPECT_EQ(chip.Stats().writes, t.write ? 1 : 0);
        EXPECT_EQ(chip.Stats().reads, t.write ? 0 : 1);
    }
}

TEST(ChipModelFaults, DroppedWritesNeverReachTheChip) {
    ChipModel chip;
    ASSERT_TRUE(chip.AddFault("drop-writes"));
    const uint8_t control[] = {0x90, 0x40}, trigger[] = {0x36, 0x00};
    EXPECT_FALSE(chip.IicWrite(0x94, 2, control));
    EXPECT_FALSE(chip.IicWrite(0x94, 2, trigger));
    EXPECT_FALSE(chip.InIsp());
    EXPECT_EQ(chip.Stats().entryAttempts, 0);
    chip.ClearFaults();
    RunScript(chip, {"ENTER", "R 90 40"});
}

TEST(ChipModelFaults, FaultNamesParseOrAreRefusedWithAReason) {
    struct Case {
        const char* fault;
        bool ok;
    };
    const Case cases[] = {
        {"no-isp", true},           {"isp-after=1", true},         {"erase-busy=0", true},
        {"page-busy=7", true},      {"page-busy=7@255", true},     {"crc-range-busy=21", true},
        {"crc-busy=101", true},     {"stuck=1:FFFF", true},        {"stuck=0:0x00ab", true},
        {"read-fail", true},        {"drop-writes", true},         {"", false},
        {"unknown", false},         {"no-isp=1", false},           {"read-fail=", false},
        {"isp-after", false},       {"isp-after=", false},         {"isp-after=0", false},
        {"erase-busy=-1", false},   {"erase-busy=1x", false},      {"erase-busy=0x10", false},
        {"crc-busy= 3", false},     {"page-busy=99999999", false}, {"page-busy=1@", false},
        {"page-busy=1@256", false}, {"page-busy=@3", false},       {"stuck=0", false},
        {"stuck=2:10", false},      {"stuck=0:10000", false},      {"stuck=0:xyz", false},
        {"stuck=:10", false},       {"Erase-Busy=1", false},       {"power-cut@0", true},
        {"power-cut@40000", true},  {"power-cut", false},          {"power-cut@", false},
        {"power-cut=3", false},     {"power-cut@x", false},
    };
    for (const Case& t : cases) {
        SCOPED_TRACE(t.fault);
        ChipModel chip;
        std::string error;
        EXPECT_EQ(chip.AddFault(t.fault, &error), t.ok);
        if (t.ok) {
            EXPECT_TRUE(error.empty());
            continue;
        }
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(error.find('\n'), std::string::npos);
        // A refused fault leaves the chip healthy.
        RunScript(chip, {"ENTER", "R 90 40", "W 94 90 C0", "R 90 40", "PAGE 00 00", "R 90 40"});
    }
}

TEST(ChipModelFaults, FromThePowerCutNothingAnswersUntilThePowerComesBack) {
    ChipModel chip;
    ASSERT_TRUE(chip.AddFault("power-cut@2"));
    RunScript(chip, {"ENTER"}); // transfers 0 and 1
    ASSERT_TRUE(chip.InIsp());
    EXPECT_FALSE(chip.Acknowledges(0x94)); // the address of transfer 2
    const uint8_t erase[] = {0x90, 0xC0};
    EXPECT_FALSE(chip.IicWrite(0x94, 2, erase));
    uint8_t value = 0x00;
    EXPECT_FALSE(chip.IicRead(0x95, 1, &value));
    EXPECT_EQ(value, 0xFF);
    EXPECT_FALSE(chip.Powered());
    EXPECT_FALSE(chip.InIsp());
    EXPECT_EQ(chip.Stats().erases, 0);
    EXPECT_EQ(chip.Stats().writes + chip.Stats().reads, 4);
    // Back on, out of ISP mode; the cut is spent.
    chip.PowerCycle();
    EXPECT_TRUE(chip.Acknowledges(0x94));
    RunScript(chip, {"R 90 00", "ENTER", "R 90 40", "W 94 90 C0", "R 90 40"});
}

TEST(ChipModelClock, BusyPeriodsLastMillisecondsOfTheClock) {
    struct Case {
        const char* name;
        const char* fault; // null: none
        std::string start; // the step that starts the busy period
        uint8_t reg, busy, ready;
        unsigned ms;
        int extraReads; // busy reads beyond the time
    };
    const Case cases[] = {
        {"erase", nullptr, "W 94 90 C0", 0x90, 0xC0, 0x40, ChipModel::kEraseMs, 0},
        {"page", nullptr, "PAGE 00 00", 0x90, 0x50, 0x40, ChipModel::kPageMs, 0},
        {"CRC range", nullptr, "W 96 A0 00 10", 0x90, 0x48, 0x40, ChipModel::kCrcRangeMs, 0},
        {"CRC engine", nullptr, "W 94 A2 80", 0xA2, 0x80, 0x00, ChipModel::kCrcMs, 0},
        {"erase with a fault", "erase-busy=2", "W 94 90 C0", 0x90, 0xC0, 0x40, ChipModel::kEraseMs,
         2},
    };
    for (const Case& t : cases) {
        SCOPED_TRACE(t.name);
        uint64_t now = 1000;
        ChipModel chip;
        chip.SetClock([&now] { return now; });
        if (t.fault) {
            ASSERT_TRUE(chip.AddFault(t.fault));
        }
        RunScript(chip, {"ENTER", t.start});
        auto read = [&](uint8_t expected) {
            char step[16];
            std::snprintf(step, sizeof step, "R %02X %02X", t.reg, expected);
            RunScript(chip, {step});
        };
        if (t.ms > 0) {
            now += t.ms - 1;
            read(t.busy);
        }
        now += 1;
        for (int i = 0; i < t.extraReads - (t.ms > 0 ? 1 : 0); ++i)
            read(t.busy);
        read(t.ready);
    }
}

TEST(ChipModelClock, WithoutAClockAgainOnlyReadsCount) {
    uint64_t now = 0;
    ChipModel chip;
    chip.SetClock([&now] { return now; });
    chip.SetClock(nullptr);
    RunScript(chip, {"ENTER", "W 94 90 C0", "R 90 40"});
}

TEST(ChipModelFlashFile, SavesAndLoadsBothBanks) {
    const rtd::test::TempDir dir;
    const std::string path = dir.Path("roundtrip.bin");
    ChipModel saved;
    Dirty(saved);
    std::string error;
    ASSERT_TRUE(saved.SaveFlash(path, &error)) << error;
    ChipModel loaded;
    ASSERT_TRUE(loaded.LoadFlash(path, &error)) << error;
    EXPECT_EQ(loaded.Flash(0), saved.Flash(0));
    EXPECT_EQ(loaded.Flash(1), saved.Flash(1));
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    EXPECT_EQ(static_cast<long long>(in.tellg()), ChipModel::kFlashFileSize);
}

TEST(ChipModelFlashFile, MissingFileIsABlankChip) {
    const rtd::test::TempDir dir;
    ChipModel chip;
    Dirty(chip);
    ASSERT_TRUE(chip.LoadFlash(dir.Path("does-not-exist.bin")));
    EXPECT_TRUE(AllEqual(chip.Flash(0), 0, 65536, 0xFF));
    EXPECT_TRUE(AllEqual(chip.Flash(1), 0, 65536, 0xFF));
}

TEST(ChipModelFlashFile, OtherSizesAreRefused) {
    const rtd::test::TempDir dir;
    const size_t sizes[] = {0, 100, 65536, 131071, 131073, 262144};
    for (size_t size : sizes) {
        SCOPED_TRACE(size);
        const std::string path = dir.Write("size.bin", std::string(size, 'x'));
        ChipModel chip;
        Dirty(chip);
        const std::vector<uint8_t> before = chip.Flash(1);
        std::string error;
        EXPECT_FALSE(chip.LoadFlash(path, &error));
        EXPECT_NE(error.find("131072"), std::string::npos) << error;
        EXPECT_EQ(chip.Flash(1), before);
    }
}

TEST(ChipModelFlashFile, UnwritablePathGivesAReason) {
    const rtd::test::TempDir dir;
    ChipModel chip;
    std::string error;
    EXPECT_FALSE(chip.SaveFlash(dir.Path("no-such-dir/flash.bin"), &error));
    EXPECT_FALSE(error.empty());
}

} // namespace

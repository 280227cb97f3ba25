// Write through the export against the chip model: the path arrives intact, HEX address
// records are skipped or refused, host objects replaced by a setter hear nothing more,
// and a command started from inside a running command's progress is refused without
// disturbing it.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "ChipModel.h"
#include "CommandExports.h"
#include "ExpectedTrace.h"
#include "PluginFixture.h"
#include "rtd2120/rtd2120.h"

namespace rtd::test {
namespace {

bool WritePath(const std::string& path) {
    AnsiStringPtr s = AnsiStringNew(path.c_str());
    const bool ok = Write(s);
    AnsiStringRelease(s);
    return ok;
}

class WriteExport : public PluginFixture {
protected:
    WriteExport() {
        bus.SetInner(&chip);
        HandOverAll();
    }
    // Writes `size` bytes of a counting pattern to a raw image file.
    std::string MakeImage(const std::string& name, size_t size) {
        image.resize(size);
        for (size_t i = 0; i < size; ++i)
            image[i] = static_cast<uint8_t>(i * 7 + 1);
        return folder.Write(name, image);
    }
    bool Programmed() const {
        return std::equal(image.begin(), image.end(), chip.Flash(0).begin());
    }

    sim::ChipModel chip;
    std::vector<uint8_t> image;
};

TEST_F(WriteExport, ProgramsTheFileTheHostNamed) {
    ASSERT_TRUE(WritePath(MakeImage("fw.bin", 700)));
    EXPECT_TRUE(Programmed());
    EXPECT_EQ(list.Lines().front(), "Begin...");
    EXPECT_EQ(platform.CommandDepth(), 0);
}

TEST_F(WriteExport, MissingFileFailsWithoutBusTransfer) {
    EXPECT_FALSE(WritePath(folder.Path("absent.bin")));
    EXPECT_EQ(bus.Calls(), 0);
    ASSERT_FALSE(list.Lines().empty());
    EXPECT_EQ(list.Lines().front(), "Begin...");
}

// HEX records that change no address are skipped and the file programs exactly its data;
// one that would move the data is refused before any bus transfer.
TEST_F(WriteExport, HexAddressRecordsProgramTheirDataOrAreRefusedUntouched) {
    const std::string data = ":0400000001020304F2\r\n"; // 01 02 03 04 at 0x0000
    const std::string end = ":00000001FF\r\n";
    const struct {
        const char* name;
        std::string text;
        bool programmed;
    } cases[] = {
        {"start linear address before the end", data + ":0400000500000100F6\r\n" + end, true},
        {"zero extended linear address first", ":020000040000FA\r\n" + data + end, true},
        {"non-zero extended linear address", ":020000040001F9\r\n" + data + end, false},
    };
    std::vector<uint8_t> bank0(65536, 0xFF);
    std::copy_n("\x01\x02\x03\x04", 4, bank0.begin());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        chip.Flash(0).assign(65536, 0xFF);
        const int callsBefore = bus.Calls();
        EXPECT_EQ(WritePath(folder.Write("fw.hex", c.text)), c.programmed);
        if (c.programmed) {
            EXPECT_TRUE(chip.Flash(0) == bank0);
        } else {
            EXPECT_EQ(list.Lines(), (std::vector<std::string>{"Begin...", "File format error."}));
            EXPECT_EQ(bus.Calls(), callsBefore);
        }
    }
}

// Once the setters have replaced the bus, the form and the list, a command's transfers,
// progress and lines reach only the new objects, never the ones they replaced.
TEST_F(WriteExport, ReplacedHostObjectsHearNothingMore) {
    const std::string path = MakeImage("fw.bin", 700);
    Events stale;
    RecordingBus oldBus{&stale, &chip};
    RecordingStrings oldList{&stale};
    FakeForm oldForm;
    SetIICInterFace(&oldBus);
    SetMainFrm(&oldForm);
    SetInfoList(&oldList);
    ASSERT_TRUE(WritePath(path));
    const int oldProgress = platform.ProgressPostedTo(&oldForm);
    ASSERT_GT(oldProgress, 0);
    ASSERT_FALSE(stale.empty());

    HandOverAll();
    stale.clear();
    events.clear();
    EXPECT_TRUE(WritePath(path));
    EXPECT_TRUE(stale.empty());
    EXPECT_EQ(platform.ProgressPostedTo(&oldForm), oldProgress);
    std::vector<uint8_t> window = image;
    window.resize(65536, 0xFF);
    ExpectTrace(events, Events{"C", "L Begin...", "L Fire Bank0..."} +
                            ProgramBankTrace(window.data(), 0, true, true));
    EXPECT_EQ(platform.ProgressPostedTo(&form), static_cast<int>(Percentages(events).size()));
}

// The long commands process the host's messages while they run; every command started
// from there is refused without a bus transfer or a line, and the running one finishes.
TEST_F(WriteExport, CommandsFromInsideProgressAreRefused) {
    const std::string path = MakeImage("fw.bin", 1024);
    const struct {
        const char* name;
        std::function<bool()> outer;
    } cases[] = {
        {"Write", [&] { return WritePath(path); }},
        {"ExtFunc", [] { return ExtFunc(nullptr); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        int nestedRounds = 0;
        platform.SetOnProgress([&](int) {
            if (nestedRounds++ == 3) // a few rounds are enough; ExtFunc posts thousands
                return;
            EXPECT_EQ(platform.CommandDepth(), 1); // the timer period is held
            const size_t eventsBefore = events.size();
            const int callsBefore = bus.Calls();
            for (const CommandExport& nested : AllCommands()) {
                SCOPED_TRACE(nested.name);
                EXPECT_EQ(nested.run(), nested.dialog);
            }
            EXPECT_FALSE(WritePath(path));
            EXPECT_EQ(events.size(), eventsBefore);
            EXPECT_EQ(bus.Calls(), callsBefore);
        });
        EXPECT_TRUE(c.outer());
        EXPECT_GT(nestedRounds, 3);
        EXPECT_NE(std::find(events.begin(), events.end(), "P 100"), events.end());
        EXPECT_EQ(platform.CommandDepth(), 0);
    }
    EXPECT_TRUE(Programmed());

    // Once they have returned, commands run again.
    platform.SetOnProgress(nullptr);
    const int callsBefore = bus.Calls();
    EXPECT_TRUE(Reset());
    EXPECT_EQ(list.Lines().back(), "Reset...");
    EXPECT_GT(bus.Calls(), callsBefore);
}

} // namespace
} // namespace rtd::test

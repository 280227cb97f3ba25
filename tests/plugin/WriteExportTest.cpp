// Write through the export against the chip model: the path arrives intact, and a
// command started from inside Write's progress is refused without disturbing it.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "rtd2120/rtd2120.h"
#include "sim/ChipModel.h"
#include "tests/plugin/PluginFixture.h"

namespace rtd::test {
namespace {

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
        const std::string path = (folder.Path() / name).string();
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(size));
        return path;
    }
    bool WritePath(const std::string& path) {
        AnsiStringPtr s = AnsiStringNew(path.c_str());
        const bool ok = Write(s);
        AnsiStringRelease(s);
        return ok;
    }

    sim::ChipModel chip;
    std::vector<uint8_t> image;
};

TEST_F(WriteExport, ProgramsTheFileTheHostNamed) {
    const std::string path = MakeImage("fw.bin", 700);
    ASSERT_TRUE(WritePath(path));
    EXPECT_TRUE(std::equal(image.begin(), image.end(), chip.Flash(0).begin()));
    EXPECT_EQ(list.Lines().front(), "Begin...");
    EXPECT_EQ(platform.CommandDepth(), 0);
}

TEST_F(WriteExport, MissingFileFailsWithoutBusTransfer) {
    EXPECT_FALSE(WritePath((folder.Path() / "absent.bin").string()));
    EXPECT_EQ(bus.Calls(), 0);
    ASSERT_FALSE(list.Lines().empty());
    EXPECT_EQ(list.Lines().front(), "Begin...");
}

TEST_F(WriteExport, CommandsFromInsideProgressAreRefused) {
    const std::string path = MakeImage("fw.bin", 1024);
    std::vector<bool> nestedResults;
    platform.SetOnProgress([&](int) {
        const size_t eventsBefore = events.size();
        nestedResults.push_back(Erase());
        nestedResults.push_back(Reset());
        nestedResults.push_back(ExtFunc(nullptr));
        nestedResults.push_back(WritePath(path));
        About();
        ::Setup(); // gtest's fixture has a member of that name
        EXPECT_EQ(events.size(), eventsBefore);
    });
    ASSERT_TRUE(WritePath(path));
    EXPECT_TRUE(std::equal(image.begin(), image.end(), chip.Flash(0).begin()));
    ASSERT_FALSE(nestedResults.empty());
    EXPECT_EQ(std::count(nestedResults.begin(), nestedResults.end(), true), 0);
}

} // namespace
} // namespace rtd::test

// Hostile input at the export boundary: paths that are null, huge, without extension,
// folders or files that vanish while a write runs, and host strings that are constant,
// shared or lie about their length. Each gives a clear false with a refusal line, never
// touches the chip, and writes nothing outside a buffer (ASan and valgrind watch). Paths
// of the packed flow (any extension but HEX and raw, or none) are refused as a format
// error whatever the reason, the HEX and raw flows tell an unopenable file apart.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "ChipModel.h"
#include "ExpectedTrace.h"
#include "Ispunit.h"
#include "PluginFixture.h"
#include "RecordingPlatform.h"
#include "TempDir.h"
#include "rtd2120/rtd2120.h"

namespace rtd::test {
namespace {

const char kOpenError[] = "File open error.";
const char kFormatError[] = "File format error.";

// Constant host strings as the framework lays out literals: count -1, in read-only
// memory, so a write to the count or the text faults.
struct ConstantString {
    int32_t count;
    int32_t length;
    char text[24];
};
const ConstantString kConstantMissing = {-1, 11, "missing.hex"};
const ConstantString kConstantEmpty = {-1, 0, ""};

AnsiStringPtr Literal(const ConstantString& s) {
    return const_cast<char*>(s.text);
}

// A raw image with data in bank 0 only.
std::vector<uint8_t> SmallImage() {
    return std::vector<uint8_t>(600, 0x5A);
}

class HostileInputTest : public PluginFixture {
protected:
    HostileInputTest() {
        HandOverAll();
        bus.SetInner(&chip);
    }

    // Writes `path` as a counted host string and checks the refusal: false, the lines
    // "Begin..." ... refusal, and not one bus transfer.
    void ExpectRefused(const std::string& path, const std::vector<std::string>& refusals) {
        const AnsiStringPtr argument = AnsiStringNew(path.c_str());
        events.clear();
        EXPECT_FALSE(Write(argument));
        AnsiStringRelease(argument);
        ExpectRefusalLines(refusals);
    }

    void ExpectRefusalLines(const std::vector<std::string>& refusals) {
        ASSERT_FALSE(list.Lines().empty());
        EXPECT_EQ(list.Lines().front(), "Begin...");
        const std::string last = list.Lines().back();
        EXPECT_NE(std::find(refusals.begin(), refusals.end(), last), refusals.end())
            << "last line: " << last;
        EXPECT_EQ(BusEvents(events).size(), 0u) << "the chip was touched";
    }

    sim::ChipModel chip;
    TempDir files;
};

TEST_F(HostileInputTest, PathsThatNameNoFirmware) {
    const std::string huge(100 * 1024, 'a');
    const std::string folder = files.MakeFolder("fw.bin");
    files.MakeFolder("fw.hex");
    files.MakeFolder("plain");
    const std::string raw = files.Write("image", SmallImage());
    const std::string text = files.Write("notes.kvf", std::string("ZEQ KVF V1.0 but not"));
    const struct {
        const char* name;
        std::string path;
        std::vector<std::string> refusals;
    } cases[] = {
        {"empty path", "", {kFormatError}},
        {"100 KB name, HEX", huge + ".hex", {kOpenError}},
        {"100 KB name, raw", huge + ".bin", {kOpenError}},
        {"100 KB name, no extension", huge, {kFormatError}},
        {"100 KB of dots", std::string(100 * 1024, '.'), {kFormatError}},
        {"folder named as a raw image", folder, {kOpenError, kFormatError}},
        {"folder named as a HEX file", files.Path("fw.hex"), {kOpenError, kFormatError}},
        {"folder without extension", files.Path("plain"), {kOpenError, kFormatError}},
        {"root folder", "/", {kOpenError, kFormatError}},
        {"current folder", ".", {kOpenError, kFormatError}},
        {"raw image without extension is no packed file", raw, {kFormatError}},
        {"short packed file", text, {kFormatError}},
        {"bytes that are no text", "\xff\xfe\x01.hex", {kOpenError}},
        {"trailing dot", files.Path("fw."), {kFormatError}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ExpectRefused(c.path, c.refusals);
    }
}

// Host strings that a careless plug-in would write to, free, or read past.
TEST_F(HostileInputTest, HostStringsAreOnlyRead) {
    const std::string missing = "missing.hex";
    std::vector<char> shared(8 + missing.size() + 1, '\0');
    const int32_t two = 2, length = static_cast<int32_t>(missing.size());
    std::memcpy(shared.data(), &two, 4);
    std::memcpy(shared.data() + 4, &length, 4);
    std::memcpy(shared.data() + 8, missing.data(), missing.size());
    // Length says more than there is: the text ends at its zero.
    std::vector<char> overlong = shared;
    const int32_t lie = 1 << 30;
    std::memcpy(overlong.data() + 4, &lie, 4);

    const struct {
        const char* name;
        AnsiStringPtr argument;
        std::vector<std::string> refusals;
    } cases[] = {
        {"null", nullptr, {kFormatError}},
        {"constant in read-only memory", Literal(kConstantMissing), {kOpenError}},
        {"empty constant", Literal(kConstantEmpty), {kFormatError}},
        {"shared, count 2", shared.data() + 8, {kOpenError}},
        {"length past the end", overlong.data() + 8, {kOpenError}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<char> sharedBefore = shared, overlongBefore = overlong;
        events.clear();
        EXPECT_FALSE(Write(c.argument));
        ExpectRefusalLines(c.refusals);
        EXPECT_TRUE(ExtFunc(c.argument)); // never reads its argument's text
        EXPECT_EQ(shared, sharedBefore);
        EXPECT_EQ(overlong, overlongBefore);
    }
}

// A platform that deletes a file right after saying it exists: the extend file is gone
// by the time the write loads it.
class VanishingFiles : public RecordingPlatform {
public:
    using RecordingPlatform::RecordingPlatform;
    bool IsRegularFile(const std::string& path) override {
        const bool exists = RecordingPlatform::IsRegularFile(path);
        if (exists)
            std::filesystem::remove(path);
        return exists;
    }
};

TEST_F(HostileInputTest, ExtendFileDeletedBeforeItIsLoaded) {
    const std::string hex = ":0400000001020304F2\r\n:00000001FF\r\n";
    const struct {
        const char* name;
        const char* extendName;
        std::string contents;
    } cases[] = {
        {"raw extend file", "fw_Extend.bin", std::string(300, '\x33')},
        {"HEX extend file", "fw_Extend.hex", hex},
        {"shared extend name", "DEROredovOrovav.hex", hex},
    };
    IspUnit->AutoFireSecond = true;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const std::string main = dir.Write("fw.hex", hex);
        dir.Write(c.extendName, c.contents);
        VanishingFiles vanishing(&events);
        vanishing.SetExecutablePath(platform.ExecutablePath());
        ScopedPlatform installed(&vanishing);
        ExpectRefused(main, {kOpenError});
        EXPECT_FALSE(std::filesystem::exists(dir.Path(c.extendName)));
    }
}

} // namespace
} // namespace rtd::test

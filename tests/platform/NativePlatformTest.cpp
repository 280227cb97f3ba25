// The native platform's file services, on whichever system the suite runs.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <string>

#include "Platform.h"

namespace rtd {
namespace {

namespace fs = std::filesystem;

std::string Lower(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

class NativeFiles : public ::testing::Test {
protected:
    NativeFiles() {
        folder =
            fs::temp_directory_path() /
            ("rtd-platform-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(folder / "sub.dir");
        std::ofstream(folder / "file.bin") << "x";
        std::ofstream(folder / "empty"); // an empty file is still a file
    }
    ~NativeFiles() override {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }
    fs::path folder;
};

TEST_F(NativeFiles, IsRegularFileOnlyForFiles) {
    const struct {
        std::string path;
        bool file;
    } cases[] = {
        {(folder / "file.bin").string(), true},
        {(folder / "empty").string(), true},
        {(folder / "sub.dir").string(), false},
        {folder.string(), false},
        {(folder / "missing.hex").string(), false},
        {(folder / "file.bin" / "below").string(), false},
        {"", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(CurrentPlatform().IsRegularFile(c.path), c.file);
    }
}

TEST(NativeExecutable, PathNamesThisTestProgram) {
    const std::string path = CurrentPlatform().ExecutablePath();
    const std::string name = Lower(fs::path(path).filename().string());
#if defined(_WIN32)
    EXPECT_EQ(name, "test_platform.exe");
#else
    EXPECT_EQ(name, "test_platform");
#endif
    EXPECT_TRUE(fs::path(path).is_absolute()) << path;
    EXPECT_TRUE(CurrentPlatform().IsRegularFile(path));
}

TEST(NativeClock, NeverGoesBack) {
    uint64_t previous = CurrentPlatform().MonotonicMs();
    for (int i = 0; i < 5; ++i) {
        CurrentPlatform().SleepMs(1);
        const uint64_t now = CurrentPlatform().MonotonicMs();
        EXPECT_GE(now, previous);
        previous = now;
    }
}

TEST(NativeCommand, BracketsNestAndBalance) {
    // Nesting must not unbalance the held timer period; nothing observable may break.
    Platform& platform = CurrentPlatform();
    {
        CommandScope outer;
        CommandScope inner;
        platform.SleepMs(1);
    }
    platform.EndCommand(); // an unmatched end is ignored
    CommandScope again;
}

} // namespace
} // namespace rtd

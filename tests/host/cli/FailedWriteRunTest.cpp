// Files the host writes are whole or absent, and a command has one result: a write whose
// flash or trace could not be saved ends "write: FAILED" with exit status 1, and leaves
// the file of the run before. The full disk is a small tmpfs and the read-only folder a
// read-only bind mount, which stop root too; where they cannot be mounted the test is
// skipped.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "HostRun.h"

namespace rtd::host::test {
namespace {

using Lines = std::vector<std::string>;

#ifndef _WIN32 // tmpfs and bind mounts

// A folder mounted for the life of the object.
class ScopedMount {
public:
    explicit ScopedMount(const std::string& command, const std::string& folder)
        : folder_(folder), mounted_(std::system((command + " 2>/dev/null").c_str()) == 0) {}
    ~ScopedMount() {
        if (mounted_)
            std::system(("umount " + folder_).c_str());
    }
    bool Mounted() const { return mounted_; }

private:
    std::string folder_;
    bool mounted_;
};

bool HasTemporaryFiles(const std::string& folder) {
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.path().filename().string().find(".tmp-") != std::string::npos)
            return true;
    return false;
}

TEST(FailedWriteRun, AFailedSaveKeepsTheOldFileAndEndsInOneFailure) {
    const rtd::test::TempDir dir;
    const std::string full = dir.MakeFolder("full"), readOnly = dir.MakeFolder("ro");
    const ScopedMount tmpfs("mount -t tmpfs -o size=160k tmpfs " + full, full);
    const ScopedMount bind("mount --bind " + readOnly + " " + readOnly, readOnly);
    if (!tmpfs.Mounted() || !bind.Mounted())
        GTEST_SKIP() << "not run: cannot mount a tmpfs or a bind mount here (needs root)";
    const std::string kvf = ExamplePath("two-bank.kvf"), raw = ExamplePath("raw-image.bin");
    const std::string flash = full + "/flash.bin";
    // 128 KiB of the 160 KiB: saving the next flash beside it cannot fit.
    ASSERT_EQ(RunInProcess({"--sim-flash", flash, "write", raw}).status, 0);
    const std::string oldOut = dir.Write("ro/out.bin", "old");
    ASSERT_EQ(std::system(("mount -o remount,ro,bind " + readOnly).c_str()), 0);
    const std::string oldTrace = dir.Write("full/t.trace", "old\n");

    const struct {
        std::vector<std::string> args;
        std::string errLine; // the line that says why
        std::string kept;    // a file that keeps its bytes
    } cases[] = {
        {{"--sim-flash", flash, "write", kvf}, "cannot save the simulated flash", flash},
        {{"--trace", oldTrace, "write", kvf}, "cannot write the trace file", oldTrace},
        {{"--sim-flash", flash, "--sim-fault", "stuck=0:10", "write", kvf}, "", flash},
        {{"image", "convert", kvf, full + "/out.bin"}, "No space left on device", flash},
        {{"image", "pack", raw, oldOut}, "cannot create", oldOut},
    };
    for (const auto& c : cases) {
        const std::vector<uint8_t> before = ReadFileBytes(c.kept);
        const HostResult r = RunInProcess(c.args);
        const std::string what = c.args[c.args.size() - 2];
        EXPECT_EQ(r.status, 1) << what << "\n" << r.out << r.err;
        EXPECT_NE(r.err.find(c.errLine), std::string::npos) << what << "\n" << r.err;
        EXPECT_EQ(ReadFileBytes(c.kept), before) << what;
        EXPECT_FALSE(HasTemporaryFiles(full)) << what;
        if (c.args[0] == "image")
            continue;
        const Lines lines = SplitLines(r.out);
        EXPECT_EQ(lines.back(), "write: FAILED") << what;
        EXPECT_EQ(std::count(lines.begin(), lines.end(), "write: OK"), 0) << what;
        EXPECT_EQ(lines.end()[-2].rfind("Summary: write failed", 0), 0u) << r.out;
    }
    EXPECT_FALSE(std::filesystem::exists(full + "/out.bin"));
}

#endif

// convert and pack never write over their own input, however it is named.
TEST(FailedWriteRun, ImageToolsRefuseTheirOwnInput) {
    const rtd::test::TempDir dir;
    const std::string image = dir.Path("image.bin");
    ASSERT_EQ(RunInProcess({"image", "convert", ExamplePath("two-bank.kvf"), image}).status, 0);
    const std::vector<uint8_t> before = ReadFileBytes(image);
    std::filesystem::create_hard_link(image, dir.Path("hard.bin"));
    std::vector<std::string> names = {image, dir.Path("hard.bin")};
#ifndef _WIN32 // symbolic links need a privilege there
    std::filesystem::create_symlink(image, dir.Path("soft.bin"));
    names.push_back(dir.Path("soft.bin"));
#endif
    for (const char* tool : {"convert", "pack"})
        for (const std::string& output : names) {
            const HostResult r = RunInProcess({"image", tool, image, output});
            EXPECT_EQ(r.status, 2) << tool << " " << output;
            EXPECT_NE(r.err.find("is the input file"), std::string::npos) << r.err;
            EXPECT_EQ(ReadFileBytes(image), before) << tool << " " << output;
        }
}

} // namespace
} // namespace rtd::host::test

// The ini reader/writer on disk: what a write may and may not replace.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "TempDir.h"
#include "posix/IniFile.h"

namespace {

using rtd::posix::ReadIniValue;
using rtd::posix::WriteIniValue;
using rtd::test::TempDir;

mode_t ModeOf(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(stat(path.c_str(), &info), 0) << path;
    return info.st_mode & 07777;
}

TEST(IniFile, MissingFileReadsFallbackAndIsCreatedOnWrite) {
    TempDir folder;
    const std::string file = folder.Path("a.ini");
    EXPECT_EQ(ReadIniValue(file, "S", "K", "none"), "none");
    ASSERT_TRUE(WriteIniValue(file, "S", "K", "1"));
    EXPECT_EQ(folder.Read("a.ini"), "[S]\r\nK=1\r\n");
    const mode_t mask = umask(0);
    umask(mask);
    EXPECT_EQ(ModeOf(file), 0666 & ~mask);
}

TEST(IniFile, WritesThatMustFailLeaveTheFileAlone) {
    TempDir folder;
    // A read-only file stays as it is, even for the superuser.
    folder.Write("ro.ini", "[S]\nK=0\n");
    chmod(folder.Path("ro.ini").c_str(), 0444);
    EXPECT_FALSE(WriteIniValue(folder.Path("ro.ini"), "S", "K", "1"));
    EXPECT_EQ(folder.Read("ro.ini"), "[S]\nK=0\n");
    // A folder in the file's place.
    mkdir(folder.Path("dir.ini").c_str(), 0755);
    EXPECT_FALSE(WriteIniValue(folder.Path("dir.ini"), "S", "K", "1"));
    // A folder that does not exist.
    EXPECT_FALSE(WriteIniValue(folder.Path("none") + "/a.ini", "S", "K", "1"));
    // An entry that would plant other lines.
    folder.Write("a.ini", "[S]\nK=0\n");
    EXPECT_FALSE(WriteIniValue(folder.Path("a.ini"), "S", "K", "1\n[X]"));
    EXPECT_EQ(folder.Read("a.ini"), "[S]\nK=0\n");
    // Nothing left behind by the failed attempts.
    int entries = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path("")))
        entries += entry.path().filename().string().rfind("ro.ini.", 0) == 0 ? 1 : 0;
    EXPECT_EQ(entries, 0);
}

TEST(IniFile, RewriteKeepsPermissionsAndSymbolicLinks) {
    TempDir folder;
    folder.Write("real.ini", "[S]\nK=0\n");
    chmod(folder.Path("real.ini").c_str(), 0640);
    ASSERT_EQ(symlink(folder.Path("real.ini").c_str(), folder.Path("link.ini").c_str()), 0);
    ASSERT_TRUE(WriteIniValue(folder.Path("link.ini"), "S", "K", "1"));
    EXPECT_EQ(folder.Read("real.ini"), "[S]\nK=1\n");
    struct stat info {};
    ASSERT_EQ(lstat(folder.Path("link.ini").c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    EXPECT_EQ(ModeOf(folder.Path("real.ini")), 0640u);
    EXPECT_EQ(ReadIniValue(folder.Path("link.ini"), "S", "K", "none"), "1");
}

} // namespace

// The ini reader/writer on disk: what a write may and may not replace.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "TempFolder.h"
#include "posix/IniFile.h"

namespace {

using rtd::posix::ReadIniValue;
using rtd::posix::WriteIniValue;
using rtd::test::TempFolder;

mode_t ModeOf(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(stat(path.c_str(), &info), 0) << path;
    return info.st_mode & 07777;
}

TEST(IniFile, MissingFileReadsFallbackAndIsCreatedOnWrite) {
    TempFolder folder;
    const std::string file = folder.File("a.ini");
    EXPECT_EQ(ReadIniValue(file, "S", "K", "none"), "none");
    ASSERT_TRUE(WriteIniValue(file, "S", "K", "1"));
    EXPECT_EQ(folder.Get("a.ini"), "[S]\r\nK=1\r\n");
    const mode_t mask = umask(0);
    umask(mask);
    EXPECT_EQ(ModeOf(file), 0666 & ~mask);
}

TEST(IniFile, WritesThatMustFailLeaveTheFileAlone) {
    TempFolder folder;
    // A read-only file stays as it is, even for the superuser.
    folder.Put("ro.ini", "[S]\nK=0\n");
    chmod(folder.File("ro.ini").c_str(), 0444);
    EXPECT_FALSE(WriteIniValue(folder.File("ro.ini"), "S", "K", "1"));
    EXPECT_EQ(folder.Get("ro.ini"), "[S]\nK=0\n");
    // A folder in the file's place.
    mkdir(folder.File("dir.ini").c_str(), 0755);
    EXPECT_FALSE(WriteIniValue(folder.File("dir.ini"), "S", "K", "1"));
    // A folder that does not exist.
    EXPECT_FALSE(WriteIniValue(folder.File("none") + "/a.ini", "S", "K", "1"));
    // An entry that would plant other lines.
    folder.Put("a.ini", "[S]\nK=0\n");
    EXPECT_FALSE(WriteIniValue(folder.File("a.ini"), "S", "K", "1\n[X]"));
    EXPECT_EQ(folder.Get("a.ini"), "[S]\nK=0\n");
    // Nothing left behind by the failed attempts.
    int entries = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder.File("")))
        entries += entry.path().filename().string().rfind("ro.ini.", 0) == 0 ? 1 : 0;
    EXPECT_EQ(entries, 0);
}

TEST(IniFile, RewriteKeepsPermissionsAndSymbolicLinks) {
    TempFolder folder;
    folder.Put("real.ini", "[S]\nK=0\n");
    chmod(folder.File("real.ini").c_str(), 0640);
    ASSERT_EQ(symlink(folder.File("real.ini").c_str(), folder.File("link.ini").c_str()), 0);
    ASSERT_TRUE(WriteIniValue(folder.File("link.ini"), "S", "K", "1"));
    EXPECT_EQ(folder.Get("real.ini"), "[S]\nK=1\n");
    struct stat info {};
    ASSERT_EQ(lstat(folder.File("link.ini").c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    EXPECT_EQ(ModeOf(folder.File("real.ini")), 0640u);
    EXPECT_EQ(ReadIniValue(folder.File("link.ini"), "S", "K", "none"), "1");
}

} // namespace

// Where POSIX keeps settings and data files: beside the executable or in the user's
// folders, for every combination of what the disk and the environment say.
#include <gtest/gtest.h>

#include "posix/UserFolders.h"

namespace {

using rtd::posix::ChooseFilePlace;
using rtd::posix::FilePlaceFacts;
using rtd::posix::UserFolderKind;

TEST(UserFolders, SettingsGoBesideTheExecutableOnlyWhereThatFolderIsTheProgramsOwn) {
    const struct {
        bool writable, beside, system;
        const char* xdg;
        const char* home;
        const char* expected;
    } cases[] = {
        // A build tree: beside, whatever the environment says.
        {true, false, false, "/x/cfg", "/home/u", "/build/Torvan.ini"},
        {true, true, false, "", "/home/u", "/build/Torvan.ini"},
        // Read-only folder: a file already there is read (and written back) there...
        {false, true, false, "", "/home/u", "/build/Torvan.ini"},
        // ...else the user's folder, $XDG_CONFIG_HOME first.
        {false, false, false, "/x/cfg", "/home/u", "/x/cfg/rtd2120/Torvan.ini"},
        {false, false, false, "/x/cfg/", "/home/u", "/x/cfg/rtd2120/Torvan.ini"},
        {false, false, false, "", "/home/u", "/home/u/.config/rtd2120/Torvan.ini"},
        {false, false, false, "relative/cfg", "/home/u/", "/home/u/.config/rtd2120/Torvan.ini"},
        // A system folder never, not even for root, who can write it, nor a stale file.
        {true, false, true, "", "/root", "/root/.config/rtd2120/Torvan.ini"},
        {true, true, true, "/x/cfg", "/root", "/x/cfg/rtd2120/Torvan.ini"},
        // No user folder at all: beside is all there is.
        {false, false, false, "", "", "/build/Torvan.ini"},
        {false, false, false, "rel", "rel-home", "/build/Torvan.ini"},
    };
    for (const auto& c : cases) {
        FilePlaceFacts facts;
        facts.exeFolder = "/build/";
        facts.folderWritable = c.writable;
        facts.fileBeside = c.beside;
        facts.systemFolder = c.system;
        facts.xdgHome = c.xdg;
        facts.home = c.home;
        SCOPED_TRACE(std::string(c.xdg) + " " + c.home);
        EXPECT_EQ(ChooseFilePlace(facts, UserFolderKind::Config, "Torvan.ini"), c.expected);
    }
}

TEST(UserFolders, DataGoesToTheUsersDataFolder) {
    FilePlaceFacts facts;
    facts.exeFolder = "/usr/bin/";
    facts.systemFolder = true;
    facts.home = "/home/u";
    EXPECT_EQ(ChooseFilePlace(facts, UserFolderKind::Data, "sim-flash.bin"),
              "/home/u/.local/share/rtd2120/sim-flash.bin");
    facts.xdgHome = "/d";
    EXPECT_EQ(ChooseFilePlace(facts, UserFolderKind::Data, "sim-flash.bin"),
              "/d/rtd2120/sim-flash.bin");
}

TEST(UserFolders, SystemPrefixesAreThePackageManagersFolders) {
    const struct {
        const char* folder;
        bool system;
    } cases[] = {
        {"/usr/bin/", true}, {"/usr/local/bin", true}, {"/bin/", true},     {"/opt/rtd/", true},
        {"/usr", true},      {"/usrx/bin/", false},    {"/home/u/", false}, {"", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(rtd::posix::IsSystemPrefix(c.folder), c.system) << c.folder;
}

} // namespace

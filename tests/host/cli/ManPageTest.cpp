// The installed man page against the host itself: every command of the command table and
// every option and simulated fault of --help has its own tagged paragraph, and the page
// has no paragraph for anything the host no longer has.
#include <gtest/gtest.h>

#include <set>

#include "CommandTable.h"
#include "Help.h"
#include "ManPageText.h"
#include "TempDir.h"

namespace rtd::host {
namespace {

using rtd::test::HelpColumn;
using rtd::test::ManTags;

TEST(ManPage, HasAParagraphForEachCommandOptionAndFault) {
    const std::string page = rtd::test::ReadFileText(RTD_TEST_MANPAGE);
    ASSERT_FALSE(page.empty()) << RTD_TEST_MANPAGE;
    std::set<std::string> commands;
    for (const HostCommand& c : HostCommands())
        commands.insert(c.usage);
    const struct {
        const char* section;
        std::set<std::string> host;
    } cases[] = {
        {"COMMANDS", commands},
        {"OPTIONS", HelpColumn(HelpText(), 2, "-")},
        {"\"SIMULATED FAULTS\"", HelpColumn(HelpText(), 23, "")},
    };
    for (const auto& c : cases) {
        EXPECT_GT(c.host.size(), 2u) << c.section; // the help text was read as meant
        EXPECT_EQ(ManTags(page, c.section), c.host) << c.section;
    }
}

} // namespace
} // namespace rtd::host

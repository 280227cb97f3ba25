// The installed man page against the host itself: every command of the command table,
// every option of the option table and every fault and adapter limit has its own tagged
// paragraph, as in --help, and the page has no paragraph for anything the host no longer
// has.
#include <gtest/gtest.h>

#include <set>

#include "CommandTable.h"
#include "Help.h"
#include "ManPageText.h"
#include "OptionTable.h"
#include "TempDir.h"

namespace rtd::host {
namespace {

using rtd::test::HelpColumn;
using rtd::test::ManTags;

// The heads the option table gives --help: "--bus sim", "--quiet, -q", "--trace FILE".
std::set<std::string> OptionHeads() {
    std::set<std::string> heads;
    for (const HostOption& row : HostOptions())
        for (const std::string& head : row.Heads())
            heads.insert(head);
    return heads;
}

// Every form of the lists under the options (--sim-fault's faults, --sim-adapter's limits).
std::set<std::string> FaultForms() {
    std::set<std::string> forms;
    for (const HostOption& row : HostOptions())
        for (const OptionValues& list : row.lists)
            for (const sim::FaultForm& f : *list.forms)
                forms.insert(f.form);
    return forms;
}

TEST(ManPage, HasAParagraphForEachCommandOptionAndFault) {
    const std::string page = rtd::test::ReadFileText(RTD_TEST_MANPAGE);
    ASSERT_FALSE(page.empty()) << RTD_TEST_MANPAGE;
    std::set<std::string> commands;
    for (const HostCommand& c : HostCommands())
        commands.insert(c.usage);
    const struct {
        const char* section;
        std::set<std::string> host;
        std::set<std::string> help;
    } cases[] = {
        {"COMMANDS", commands, HelpColumn(HelpText(), 2, "")},
        {"OPTIONS", OptionHeads(), HelpColumn(HelpText(), 2, "-")},
        {"\"SIMULATED FAULTS\"", FaultForms(), HelpColumn(HelpText(), 23, "")},
    };
    for (const auto& c : cases) {
        EXPECT_GT(c.host.size(), 2u) << c.section;
        EXPECT_EQ(ManTags(page, c.section), c.host) << c.section;
    }
    // --help shows the same rows (its first column also holds the examples and exits).
    for (const auto& c : cases)
        for (const std::string& entry : c.host)
            EXPECT_EQ(c.help.count(entry), 1u) << entry;
}

} // namespace
} // namespace rtd::host

// The installed man page against the host itself: every command of the command table,
// every option of the option table and every fault and adapter limit has its own tagged
// paragraph, as in --help, and the page has no paragraph for anything the host no longer
// has.
#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <sstream>

#include "CommandTable.h"
#include "Help.h"
#include "OptionTable.h"
#include "TempDir.h"

namespace rtd::host {
namespace {

// The page as text: font changes and the zero-width "\&" dropped, "\-" as "-".
std::string PlainRoff(std::string text) {
    text = std::regex_replace(text, std::regex(R"(\\f[BIRP])"), "");
    text = std::regex_replace(text, std::regex(R"(\\&)"), "");
    return std::regex_replace(text, std::regex(R"(\\-)"), "-");
}

// The tags (the line after each ".TP") of one ".SH" section.
std::set<std::string> ManTags(const std::string& page, const std::string& section) {
    std::istringstream in(PlainRoff(page));
    std::set<std::string> tags;
    bool inSection = false, tagNext = false;
    for (std::string line; std::getline(in, line);) {
        if (line.rfind(".SH ", 0) == 0) {
            inSection = line == ".SH " + section;
        } else if (inSection && tagNext) {
            tags.insert(line);
        }
        tagNext = line == ".TP";
    }
    return tags;
}

// The first column of the --help lines indented by exactly `indent` spaces whose text
// starts with `first`, up to the gap before the description.
std::set<std::string> HelpColumn(size_t indent, const std::string& first) {
    std::istringstream in(HelpText());
    std::set<std::string> entries;
    for (std::string line; std::getline(in, line);) {
        if (line.find_first_not_of(' ') != indent || line.compare(indent, first.size(), first))
            continue;
        const std::string rest = line.substr(indent);
        entries.insert(rest.substr(0, rest.find("  ")));
    }
    return entries;
}

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
        {"COMMANDS", commands, HelpColumn(2, "")},
        {"OPTIONS", OptionHeads(), HelpColumn(2, "-")},
        {"\"SIMULATED FAULTS\"", FaultForms(), HelpColumn(23, "")},
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

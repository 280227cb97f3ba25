#include "ManPageText.h"

#include <regex>
#include <sstream>

namespace rtd::test {
namespace {

std::string PlainRoff(std::string text) {
    text = std::regex_replace(text, std::regex(R"(\\f[BIRP])"), "");
    text = std::regex_replace(text, std::regex(R"(\\&)"), "");
    return std::regex_replace(text, std::regex(R"(\\-)"), "-");
}

} // namespace

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

std::set<std::string> HelpColumn(const std::string& help, size_t indent, const std::string& first) {
    std::istringstream in(help);
    std::set<std::string> entries;
    for (std::string line; std::getline(in, line);) {
        if (line.find_first_not_of(' ') != indent || line.compare(indent, first.size(), first))
            continue;
        const std::string rest = line.substr(indent);
        entries.insert(rest.substr(0, rest.find("  ")));
    }
    return entries;
}

} // namespace rtd::test

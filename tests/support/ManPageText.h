// Reading a man page's source and a usage text, for the tests that hold one against the
// other: each program's page has a tagged paragraph for exactly what its --help lists.
#pragma once

#include <set>
#include <string>

namespace rtd::test {

// The tags (the line after each ".TP") of one ".SH" section, as plain text: font changes
// and the zero-width "\&" dropped, "\-" as "-".
std::set<std::string> ManTags(const std::string& page, const std::string& section);

// The first column of the usage lines indented by exactly `indent` spaces whose text
// starts with `first`, up to the gap before the description.
std::set<std::string> HelpColumn(const std::string& help, size_t indent, const std::string& first);

} // namespace rtd::test

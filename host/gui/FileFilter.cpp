#include "FileFilter.h"

#include <algorithm>

namespace rtd::gui {

namespace {

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end - start));
        if (end == std::string::npos)
            return parts;
        start = end + 1;
    }
}

std::string Trim(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return "";
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string Join(const std::vector<std::string>& parts, const char* separator) {
    std::string text;
    for (size_t i = 0; i < parts.size(); ++i)
        text += (i ? separator : "") + parts[i];
    return text;
}

} // namespace

std::vector<FilterEntry> ParseFileFilter(const std::string& filter) {
    std::vector<FilterEntry> entries;
    const std::vector<std::string> fields = Split(filter, '|');
    for (size_t i = 0; i < fields.size(); i += 2) {
        const std::string& list = i + 1 < fields.size() ? fields[i + 1] : fields[i];
        FilterEntry entry{fields[i], {}};
        for (const std::string& pattern : Split(list, ';'))
            if (!Trim(pattern).empty())
                entry.patterns.push_back(Trim(pattern));
        if (!entry.patterns.empty())
            entries.push_back(entry);
    }
    return entries;
}

std::string FilterLabel(const FilterEntry& entry) {
    std::string outside; // the description less its parenthesised parts
    int depth = 0;
    for (char c : entry.description) {
        if (c == '(' || c == ')')
            depth = std::max(0, depth + (c == '(' ? 1 : -1));
        else if (depth == 0)
            outside += c == '\t' ? ' ' : c;
    }
    std::vector<std::string> words;
    for (const std::string& word : Split(outside, ' '))
        if (!word.empty() && word.find_first_of("*?") == std::string::npos)
            words.push_back(word);
    const std::string name = words.empty() ? "Firmware" : Join(words, " ");
    return name + " (" + Join(entry.patterns, ", ") + ")";
}

std::string Win32Filter(const std::vector<FilterEntry>& entries) {
    std::string filter;
    for (const FilterEntry& e : entries) {
        filter += FilterLabel(e) + '\0';
        filter += Join(e.patterns, ";") + '\0';
    }
    if (!filter.empty())
        filter += '\0';
    return filter;
}

std::string FltkFilter(const std::vector<FilterEntry>& entries) {
    std::vector<std::string> labels;
    for (const FilterEntry& e : entries)
        labels.push_back(FilterLabel(e));
    return Join(labels, "\t");
}

std::string FltkPattern(const FilterEntry& entry) {
    return entry.patterns.size() == 1 ? entry.patterns[0] : "{" + Join(entry.patterns, ",") + "}";
}

} // namespace rtd::gui

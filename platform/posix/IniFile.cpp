// The text rules of the ini reader/writer; the file access is in IniFileAccess.cpp.
#include "posix/IniFile.h"

#include <cctype>
#include <vector>

namespace rtd::posix {
namespace {

const std::string kByteOrderMark = "\xEF\xBB\xBF";

std::string Trim(const std::string& text) {
    size_t begin = 0, end = text.size();
    while (begin < end && std::isspace(static_cast<unsigned char>(text[begin])))
        ++begin;
    while (end > begin && std::isspace(static_cast<unsigned char>(text[end - 1])))
        --end;
    return text.substr(begin, end - begin);
}

// One physical line of the file, with its line ending kept so an untouched line is
// written back byte for byte.
struct Line {
    std::string text;   // without the line ending
    std::string ending; // "\n", "\r\n" or "" for a last line without one
};

// The file's lines; a leading UTF-8 byte order mark is split off into `mark` so that it
// neither hides the first section nor gets lost on writing.
std::vector<Line> SplitLines(const std::string& text, std::string& mark) {
    size_t pos = 0;
    mark.clear();
    if (text.compare(0, kByteOrderMark.size(), kByteOrderMark) == 0) {
        mark = kByteOrderMark;
        pos = kByteOrderMark.size();
    }
    std::vector<Line> lines;
    while (pos < text.size()) {
        const size_t newline = text.find('\n', pos);
        Line line;
        if (newline == std::string::npos) {
            line.text = text.substr(pos);
            pos = text.size();
        } else {
            line.text = text.substr(pos, newline - pos);
            line.ending = "\n";
            pos = newline + 1;
        }
        if (!line.text.empty() && line.text.back() == '\r') {
            line.text.pop_back();
            line.ending = "\r" + line.ending;
        }
        lines.push_back(line);
    }
    return lines;
}

// Section name of a "[name]" line, or false when the line is not a section header.
bool SectionName(const std::string& text, std::string& name) {
    const std::string trimmed = Trim(text);
    if (trimmed.size() < 2 || trimmed.front() != '[')
        return false;
    const size_t close = trimmed.find(']');
    if (close == std::string::npos)
        return false;
    name = Trim(trimmed.substr(1, close - 1));
    return true;
}

// Key and value of a "key=value" line, or false when the line holds no key.
bool KeyValue(const std::string& text, std::string& key, std::string& value) {
    const std::string trimmed = Trim(text);
    if (trimmed.empty() || trimmed[0] == ';')
        return false;
    const size_t equals = trimmed.find('=');
    if (equals == std::string::npos)
        return false;
    key = Trim(trimmed.substr(0, equals));
    value = Trim(trimmed.substr(equals + 1));
    // A value in matching single or double quotes loses them, as the profile functions do.
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return true;
}

// Where `key` of the first section named `section` is, or where it would go.
struct Place {
    int header = -1;   // the section's header line, -1 when there is no such section
    int keyLine = -1;  // the key's line, -1 when the section lacks the key
    int lastLine = -1; // the section's last line that is not blank
};

// Only the first section of a name counts, for reading and writing alike, so a value
// that was written is the value read back.
Place Find(const std::vector<Line>& lines, const std::string& section, const std::string& key) {
    Place place;
    for (size_t i = 0; i < lines.size(); ++i) {
        const int index = static_cast<int>(i);
        std::string name, lineKey, value;
        if (SectionName(lines[i].text, name)) {
            if (place.header >= 0)
                break;
            if (SameIniName(name, section))
                place.header = place.lastLine = index;
            continue;
        }
        if (place.header < 0)
            continue;
        if (KeyValue(lines[i].text, lineKey, value) && SameIniName(lineKey, key)) {
            place.keyLine = index;
            break;
        }
        if (!Trim(lines[i].text).empty())
            place.lastLine = index;
    }
    return place;
}

} // namespace

std::string ReadIniText(const std::string& text, const std::string& section, const std::string& key,
                        const std::string& fallback) {
    std::string mark;
    const std::vector<Line> lines = SplitLines(text, mark);
    const Place place = Find(lines, section, key);
    if (place.keyLine < 0)
        return fallback;
    std::string lineKey, value;
    KeyValue(lines[static_cast<size_t>(place.keyLine)].text, lineKey, value);
    return value;
}

std::string WriteIniText(const std::string& text, const std::string& section,
                         const std::string& key, const std::string& value) {
    std::string mark;
    std::vector<Line> lines = SplitLines(text, mark);
    const std::string newLine = key + "=" + value;
    // The line ending the file already uses, for the lines we add.
    // A stray carriage return without a newline does not end a line for the reader.
    const auto endsLine = [](const Line& line) {
        return !line.ending.empty() && line.ending.back() == '\n';
    };
    std::string ending = "\r\n";
    if (!lines.empty() && endsLine(lines.front()))
        ending = lines.front().ending;

    const Place place = Find(lines, section, key);
    if (place.keyLine >= 0) {
        lines[static_cast<size_t>(place.keyLine)].text = newLine;
    } else if (place.header >= 0) {
        Line& previous = lines[static_cast<size_t>(place.lastLine)];
        if (!endsLine(previous))
            previous.ending = ending;
        lines.insert(lines.begin() + place.lastLine + 1, Line{newLine, ending});
    } else {
        if (!lines.empty() && !endsLine(lines.back()))
            lines.back().ending = ending;
        lines.push_back({"[" + section + "]", ending});
        lines.push_back({newLine, ending});
    }

    std::string out = mark;
    for (const Line& line : lines)
        out += line.text + line.ending;
    return out;
}

bool IsStorableIniEntry(const std::string& section, const std::string& key,
                        const std::string& value) {
    // A line break would split the entry and could plant other sections or keys.
    const auto hasLineBreak = [](const std::string& s) {
        return s.find_first_of("\r\n") != std::string::npos;
    };
    if (hasLineBreak(section) || hasLineBreak(key) || hasLineBreak(value))
        return false;
    const std::string name = Trim(key);
    // A key that starts like a section or a comment, or holds "=", would not read back.
    return !Trim(section).empty() && section.find(']') == std::string::npos && !name.empty() &&
           name[0] != '[' && name[0] != ';' && key.find('=') == std::string::npos;
}

bool SameIniName(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

} // namespace rtd::posix

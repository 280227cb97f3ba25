#include "platform/posix/IniFile.h"

#include <cctype>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <vector>

namespace rtd::posix {
namespace {

std::string Trim(const std::string& text) {
    size_t begin = 0, end = text.size();
    while (begin < end && std::isspace(static_cast<unsigned char>(text[begin])))
        ++begin;
    while (end > begin && std::isspace(static_cast<unsigned char>(text[end - 1])))
        --end;
    return text.substr(begin, end - begin);
}

bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// One physical line of the file, with its line ending kept so an untouched line is
// written back byte for byte.
struct Line {
    std::string text;   // without the line ending
    std::string ending; // "\n", "\r\n" or "" for a last line without one
};

std::vector<Line> SplitLines(const std::string& text) {
    std::vector<Line> lines;
    size_t pos = 0;
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
    // Values in double quotes lose their quotes, as the profile functions do.
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        value = value.substr(1, value.size() - 2);
    return true;
}

bool ReadWholeFile(const std::string& file, std::string& text) {
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    text = buffer.str();
    return true;
}

} // namespace

std::string ReadIniText(const std::string& text, const std::string& section,
                        const std::string& key, const std::string& fallback) {
    bool inSection = false;
    for (const Line& line : SplitLines(text)) {
        std::string name, lineKey, value;
        if (SectionName(line.text, name))
            inSection = SameName(name, section);
        else if (inSection && KeyValue(line.text, lineKey, value) && SameName(lineKey, key))
            return value;
    }
    return fallback;
}

std::string WriteIniText(const std::string& text, const std::string& section,
                         const std::string& key, const std::string& value) {
    std::vector<Line> lines = SplitLines(text);
    const std::string newLine = key + "=" + value;
    // The line ending the file already uses, for the lines we add.
    std::string ending = "\r\n";
    if (!lines.empty() && !lines.front().ending.empty())
        ending = lines.front().ending;

    int sectionLine = -1, lastInSection = -1;
    bool inSection = false;
    for (size_t i = 0; i < lines.size(); ++i) {
        std::string name, lineKey, lineValue;
        if (SectionName(lines[i].text, name)) {
            if (inSection)
                break; // the first matching section is the one the profile functions use
            inSection = SameName(name, section);
            if (inSection)
                sectionLine = lastInSection = static_cast<int>(i);
            continue;
        }
        if (!inSection)
            continue;
        if (KeyValue(lines[i].text, lineKey, lineValue) && SameName(lineKey, key)) {
            lines[i].text = newLine;
            sectionLine = -2; // replaced in place
            break;
        }
        if (!Trim(lines[i].text).empty())
            lastInSection = static_cast<int>(i);
    }

    if (sectionLine >= 0) {
        Line added{newLine, ending};
        Line& previous = lines[static_cast<size_t>(lastInSection)];
        if (previous.ending.empty())
            previous.ending = ending;
        lines.insert(lines.begin() + lastInSection + 1, added);
    } else if (sectionLine == -1) {
        if (!lines.empty() && lines.back().ending.empty())
            lines.back().ending = ending;
        lines.push_back({"[" + section + "]", ending});
        lines.push_back({newLine, ending});
    }

    std::string out;
    for (const Line& line : lines)
        out += line.text + line.ending;
    return out;
}

std::string ReadIniValue(const std::string& file, const std::string& section,
                         const std::string& key, const std::string& fallback) {
    std::string text;
    if (!ReadWholeFile(file, text))
        return fallback;
    return ReadIniText(text, section, key, fallback);
}

bool WriteIniValue(const std::string& file, const std::string& section, const std::string& key,
                   const std::string& value) {
    std::string text;
    ReadWholeFile(file, text); // a missing file is created
    const std::string updated = WriteIniText(text, section, key, value);
    // Write beside the file and rename over it, so a failed write never leaves the
    // settings half written.
    const std::string temporary = file + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out)
            return false;
        out << updated;
        out.flush();
        if (!out) {
            out.close();
            std::remove(temporary.c_str());
            return false;
        }
    }
    if (std::rename(temporary.c_str(), file.c_str()) != 0) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

} // namespace rtd::posix

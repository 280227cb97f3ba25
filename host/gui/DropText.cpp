#include "DropText.h"

#include <cctype>

namespace rtd::gui {

namespace {

std::string Unescape(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        const auto hex = [&](size_t at) {
            return at < text.size() && std::isxdigit(static_cast<unsigned char>(text[at]));
        };
        if (text[i] == '%' && hex(i + 1) && hex(i + 2)) {
            out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

} // namespace

std::string PathFromDropText(const std::string& text) {
    std::string line = text.substr(0, text.find_first_of("\r\n"));
    const std::string scheme = "file://";
    if (line.compare(0, scheme.size(), scheme) != 0)
        return line.find("://") == std::string::npos ? line : std::string();
    line.erase(0, scheme.size());
    const size_t slash = line.find('/');
    if (slash == std::string::npos)
        return "";
    const std::string host = line.substr(0, slash);
    if (!host.empty() && host != "localhost")
        return "";
    return Unescape(line.substr(slash));
}

} // namespace rtd::gui

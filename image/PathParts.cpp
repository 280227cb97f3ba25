#include "PathParts.h"

namespace rtd::image {
namespace {

constexpr const char* kSeparators = "\\:/";

} // namespace

std::string PathExtension(const std::string& path) {
    const std::string::size_type dot = path.rfind('.');
    if (dot == std::string::npos)
        return std::string();
    if (path.find_first_of(kSeparators, dot + 1) != std::string::npos)
        return std::string();
    return path.substr(dot);
}

std::string PathFolder(const std::string& path) {
    const std::string::size_type cut = path.find_last_of(kSeparators);
    return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

std::string LowerAscii(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

} // namespace rtd::image

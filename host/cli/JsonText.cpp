#include "JsonText.h"

#include <cmath>
#include <cstdio>

namespace rtd::host {

std::string JsonString(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        switch (byte) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (byte < 0x20 || byte >= 0x7F) {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\u%04X", static_cast<unsigned>(byte));
                out += escape;
            } else {
                out += c;
            }
        }
    }
    return out + "\"";
}

void JsonObject::Name(const char* name) {
    if (text_.size() > 1)
        text_ += ',';
    text_ += JsonString(name) + ':';
}

JsonObject& JsonObject::Add(const char* name, const std::string& text) {
    Name(name);
    text_ += JsonString(text);
    return *this;
}

JsonObject& JsonObject::Add(const char* name, bool value) {
    Name(name);
    text_ += value ? "true" : "false";
    return *this;
}

JsonObject& JsonObject::Add(const char* name, int64_t value) {
    Name(name);
    text_ += std::to_string(value);
    return *this;
}

JsonObject& JsonObject::Add(const char* name, double value) {
    Name(name);
    // %.6f writes no exponent; NaN and infinity, which JSON has no words for, write 0.
    char number[64];
    std::snprintf(number, sizeof number, "%.6f", std::isfinite(value) ? value : 0.0);
    text_ += number;
    return *this;
}

JsonObject& JsonObject::AddRaw(const char* name, const std::string& json) {
    Name(name);
    text_ += json;
    return *this;
}

} // namespace rtd::host

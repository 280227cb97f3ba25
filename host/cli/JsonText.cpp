#include "JsonText.h"

#include <cmath>
#include <cstdio>

namespace rtd::host {

namespace {

// The length of the well-formed UTF-8 sequence that starts at `at` (RFC 3629: no
// overlong form, no surrogate, nothing past U+10FFFF), or 0.
size_t Utf8Length(const std::string& text, size_t at) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[at + i]); };
    const unsigned char lead = byte(0);
    size_t length = 0;
    unsigned char low = 0x80, high = 0xBF; // the second byte's range
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    }
    if (length == 0 || at + length > text.size() || byte(1) < low || byte(1) > high)
        return 0;
    for (size_t i = 2; i < length; ++i)
        if (byte(i) < 0x80 || byte(i) > 0xBF)
            return 0;
    return length;
}

} // namespace

std::string JsonString(const std::string& text) {
    std::string out = "\"";
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const auto byte = static_cast<unsigned char>(c);
        if (const size_t length = byte >= 0x80 ? Utf8Length(text, i) : 0) {
            out.append(text, i, length);
            i += length - 1;
            continue;
        }
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

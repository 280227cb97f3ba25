// JSON text for `isphost --json`: one object per line, built field by field.
#ifndef RTD_HOST_CLI_JSONTEXT_H
#define RTD_HOST_CLI_JSONTEXT_H

#include <cstdint>
#include <string>

namespace rtd::host {

// `text` as a JSON string, quotes included. Quote, backslash and control characters are
// escaped; well-formed UTF-8 is kept as it is; any other byte from 0x80 up (a line in
// an ANSI code page the host does not know) becomes \u0080 to \u00FF of its value, so
// the output is always valid UTF-8 and no byte is lost.
std::string JsonString(const std::string& text);

// {"name":value,...} in the order the fields are added.
class JsonObject {
public:
    JsonObject& Add(const char* name, const std::string& text);
    JsonObject& Add(const char* name, const char* text) { return Add(name, std::string(text)); }
    JsonObject& Add(const char* name, bool value);
    JsonObject& Add(const char* name, int64_t value);
    JsonObject& Add(const char* name, int value) { return Add(name, static_cast<int64_t>(value)); }
    JsonObject& Add(const char* name, uint32_t value) {
        return Add(name, static_cast<int64_t>(value));
    }
    JsonObject& Add(const char* name, double value);
    // A value that is already JSON text (an object or an array).
    JsonObject& AddRaw(const char* name, const std::string& json);

    std::string Text() const { return text_ + "}"; }

private:
    void Name(const char* name);
    std::string text_ = "{";
};

} // namespace rtd::host

#endif

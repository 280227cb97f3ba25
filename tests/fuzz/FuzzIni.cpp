// The ini text rules: any text survives a read and a write; a value written under plain
// names reads back, and another key keeps its value.
#include <fuzzer/FuzzedDataProvider.h>

#include <cctype>
#include <cstdint>
#include <string>

#include "FuzzFile.h"
#include "posix/IniFile.h"

namespace {

bool Plain(const std::string& s) {
    if (s.empty())
        return false;
    for (unsigned char c : s)
        if (!std::isalnum(c))
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace rtd::posix;
    FuzzedDataProvider in(data, size);
    const std::string section = in.ConsumeRandomLengthString(16);
    const std::string key = in.ConsumeRandomLengthString(16);
    const std::string value = in.ConsumeRandomLengthString(16);
    const std::string otherKey = in.ConsumeRandomLengthString(16);
    const std::string text = in.ConsumeRemainingBytesAsString();

    const std::string before = ReadIniText(text, section, otherKey, "\x01");
    const std::string written = WriteIniText(text, section, key, value);
    (void)ReadIniText(written, section, key, "");
    if (Plain(section) && Plain(key) && Plain(value)) {
        rtd::fuzz::Require(ReadIniText(written, section, key, "\x01") == value);
        if (Plain(otherKey) && !rtd::posix::SameIniName(otherKey, key))
            rtd::fuzz::Require(ReadIniText(written, section, otherKey, "\x01") == before);
    }
    return 0;
}

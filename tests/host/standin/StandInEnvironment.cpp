#include "StandInEnvironment.h"

#if defined(_WIN32)
#include <windows.h>
#endif

#include <algorithm>
#include <cstdlib>
#include <iostream>

namespace rtd::host::standin {

std::string Env(const std::string& name) {
#if defined(_WIN32)
    // The process's own copy: a DLL's C runtime took its copy of the environment at load.
    char value[4096];
    const DWORD n = GetEnvironmentVariableA(name.c_str(), value, sizeof value);
    return n > 0 && n < sizeof value ? std::string(value, n) : std::string();
#else
    const char* value = std::getenv(name.c_str());
    return value ? value : "";
#endif
}

std::vector<std::string> SplitList(const std::string& text) {
    std::vector<std::string> words;
    for (size_t at = 0; at < text.size();) {
        const size_t comma = std::min(text.find(',', at), text.size());
        words.push_back(text.substr(at, comma - at));
        at = comma + 1;
    }
    return words;
}

BusOptions ModelOptions(const std::string& prefix) {
    BusOptions options;
    options.simFlash = Env(prefix + "FLASH");
    options.simFaults = SplitList(Env(prefix + "FAULTS"));
    return options;
}

unsigned long Devices(const std::string& prefix, unsigned long fallback) {
    const std::string count = Env(prefix + "DEVICES");
    return count.empty() ? fallback : std::stoul(count);
}

void StderrReporter::Error(const std::string& text) {
    std::cerr << "isphost: " << text << '\n';
}

} // namespace rtd::host::standin

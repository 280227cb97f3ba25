#include "StandInEnvironment.h"

#include <windows.h>

#include <algorithm>
#include <iostream>

namespace rtd::host::standin {

std::string Env(const std::string& name) {
    char value[4096];
    const DWORD n = GetEnvironmentVariableA(name.c_str(), value, sizeof value);
    return n > 0 && n < sizeof value ? std::string(value, n) : std::string();
}

BusOptions ModelOptions(const std::string& prefix) {
    BusOptions options;
    options.simFlash = Env(prefix + "FLASH");
    const std::string faults = Env(prefix + "FAULTS");
    for (size_t at = 0; at < faults.size();) {
        const size_t comma = std::min(faults.find(',', at), faults.size());
        options.simFaults.push_back(faults.substr(at, comma - at));
        at = comma + 1;
    }
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

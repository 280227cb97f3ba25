// Fuzz inputs reach the loaders as files: one scratch file per process, rewritten for
// every input.
#ifndef RTD_TESTS_FUZZ_FUZZFILE_H
#define RTD_TESTS_FUZZ_FUZZFILE_H

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

namespace rtd::fuzz {

inline std::string ScratchPath(const char* extension) {
    const char* tmp = std::getenv("TMPDIR");
    return std::string(tmp && *tmp ? tmp : "/tmp") + "/rtd-fuzz-" +
           std::to_string(std::random_device{}()) + extension;
}

inline void WriteScratch(const std::string& path, const uint8_t* data, size_t size) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        std::abort();
    if (size > 0 && std::fwrite(data, 1, size, f) != size)
        std::abort();
    std::fclose(f);
}

// Stops the run with a crash report when an invariant does not hold.
inline void Require(bool condition) {
    if (!condition)
        __builtin_trap();
}

} // namespace rtd::fuzz

#endif

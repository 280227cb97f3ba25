// Fuzz inputs reach the loaders as files: one scratch file per process, rewritten for
// every input.
#ifndef RTD_TESTS_FUZZ_FUZZFILE_H
#define RTD_TESTS_FUZZ_FUZZFILE_H

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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

// True when all `size` bytes at `data` equal `value`. Compares against a constant block with
// memcmp: a byte loop here would be coverage-instrumented and dominate the run time.
inline bool AllBytesAre(const uint8_t* data, size_t size, uint8_t value) {
    static uint8_t block[4096];
    if (block[0] != value)
        std::memset(block, value, sizeof block);
    for (size_t done = 0; done < size; done += sizeof block) {
        const size_t n = size - done < sizeof block ? size - done : sizeof block;
        if (std::memcmp(data + done, block, n) != 0)
            return false;
    }
    return true;
}

// Stops the run with a crash report when an invariant does not hold.
inline void Require(bool condition) {
    if (!condition)
        __builtin_trap();
}

} // namespace rtd::fuzz

#endif

#include "AnsiStringArg.h"

#include <cstdint>
#include <cstring>

namespace {

// The count sits 8 bytes before the characters and the length 4 before them. The host
// framework counts atomically, so the plug-in does too.
int32_t* CountOf(AnsiStringPtr s) {
    return reinterpret_cast<int32_t*>(s - 8);
}

int32_t LengthOf(AnsiStringPtr s) {
    int32_t length;
    std::memcpy(&length, s - 4, sizeof length);
    return length;
}

} // namespace

AnsiStringArg::AnsiStringArg(AnsiStringPtr s) : s_(s) {
    if (!s_ || __atomic_load_n(CountOf(s_), __ATOMIC_ACQUIRE) == -1)
        return;
    __atomic_add_fetch(CountOf(s_), 1, __ATOMIC_ACQ_REL);
    counted_ = true;
}

AnsiStringArg::~AnsiStringArg() {
    if (counted_)
        __atomic_sub_fetch(CountOf(s_), 1, __ATOMIC_ACQ_REL);
}

std::string AnsiStringArg::Text() const {
    if (!s_)
        return std::string();
    const int32_t length = LengthOf(s_);
    if (length <= 0)
        return std::string();
    // Callers hand the text to file functions, which stop at the first zero anyway.
    const void* zero = std::memchr(s_, 0, static_cast<size_t>(length));
    const size_t used = zero ? static_cast<size_t>(static_cast<const char*>(zero) - s_)
                             : static_cast<size_t>(length);
    return std::string(s_, used);
}

#include "HostStrings.h"

namespace rtd::host {

int HostStrings::Add(const char* text) {
    lines_.emplace_back(text ? text : "");
    trace_->Event("L " + lines_.back());
    if (display_.add)
        display_.add(lines_.back());
    return static_cast<int>(lines_.size()) - 1;
}

void HostStrings::Clear() {
    lines_.clear();
    trace_->Event("C");
    if (display_.clear)
        display_.clear();
}

} // namespace rtd::host

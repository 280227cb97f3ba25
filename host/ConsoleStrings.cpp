#include "ConsoleStrings.h"

namespace rtd::host {

int ConsoleStrings::Add(const char* text) {
    lines_.emplace_back(text ? text : "");
    trace_->Event("L " + lines_.back());
    console_->Line(lines_.back());
    return static_cast<int>(lines_.size()) - 1;
}

void ConsoleStrings::Clear() {
    lines_.clear();
    trace_->Event("C");
}

} // namespace rtd::host

#include "Recorders.h"

#include <cstdio>

namespace rtd::test {

std::string HexBytes(const uint8_t* data, int count) {
    std::string out;
    char digits[4];
    for (int i = 0; i < count; ++i) {
        std::snprintf(digits, sizeof digits, i ? " %02X" : "%02X", data[i]);
        out += digits;
    }
    return out;
}

bool RecordingBus::IicWrite(uint8_t address, int count, const uint8_t* data) {
    ++calls_;
    events_->push_back("W " + HexBytes(&address, 1) + (count ? " " : "") + HexBytes(data, count));
    return ForwardingBus::IicWrite(address, count, data);
}

bool RecordingBus::IicRead(uint8_t address, int count, uint8_t* data) {
    ++calls_;
    const bool ok = ForwardingBus::IicRead(address, count, data);
    events_->push_back("R " + HexBytes(&address, 1) + (count ? " " : "") + HexBytes(data, count));
    return ok;
}

int RecordingStrings::Add(const char* text) {
    lines_.push_back(text ? text : "");
    events_->push_back("L " + lines_.back());
    return static_cast<int>(lines_.size()) - 1;
}

void RecordingStrings::Clear() {
    lines_.clear();
    events_->push_back("C");
}

} // namespace rtd::test

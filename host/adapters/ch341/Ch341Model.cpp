#include "Ch341Model.h"

#include <algorithm>

#include "Ch341Encoder.h"

namespace rtd::host::ch341 {

bool Ch341Model::Send(const std::vector<uint8_t>& data, std::string*) {
    answers_.clear();
    for (size_t at = 0; at < data.size(); at += kPacketSize)
        Packet(data.data() + at, std::min(kPacketSize, data.size() - at));
    return true;
}

bool Ch341Model::Receive(size_t size, std::vector<uint8_t>* data, std::string* error) {
    const size_t n = std::min(size, answers_.size());
    data->assign(answers_.begin(), answers_.begin() + static_cast<std::ptrdiff_t>(n));
    answers_.erase(answers_.begin(), answers_.begin() + static_cast<std::ptrdiff_t>(n));
    if (n == size)
        return true;
    *error = "USB transfer failed: Operation timed out";
    return false;
}

void Ch341Model::Packet(const uint8_t* p, size_t size) {
    if (p[0] != kStream) {
        ++framingErrors_;
        return;
    }
    bool answeredOut = false; // a bare 0x80 in this packet already
    for (size_t i = 1; i < size; ++i) {
        const uint8_t c = p[i];
        if (c == kEnd)
            return; // the rest of the packet is ignored
        if (c == kStart) {
            wire_->Start();
        } else if (c == kStop) {
            wire_->Stop();
        } else if ((c & 0xF8) == kSpeed) {
            speedKhz_ = SpeedsKhz()[c & 3]; // bit 2 is the SPI data width
        } else if ((c & 0xC0) == kOut) {
            // Bare 0x80: one byte, answered with its acknowledge; 0x80+n: n bytes, unanswered.
            const bool bare = c == kOut;
            const size_t n = bare ? 1 : static_cast<size_t>(c & kLengthMask);
            if (i + n >= size || (bare && answeredOut)) {
                ++framingErrors_;
                return;
            }
            answeredOut = answeredOut || bare;
            for (size_t k = 1; k <= n; ++k) {
                const bool ack = wire_->WriteByte(p[i + k]);
                if (bare)
                    answers_.push_back(ack ? 0x00 : kNotAcknowledged);
            }
            i += n;
        } else if ((c & 0xC0) == kIn) {
            const int n = c == kIn ? 1 : c & kLengthMask;
            uint8_t in[64];
            wire_->ReadBytes(n, in);
            answers_.insert(answers_.end(), in, in + n);
        } else if ((c & 0xE0) == kWait) {
            // 0x40+n / 0x50+n: waits of microseconds / milliseconds; nothing to model.
        } else {
            ++framingErrors_;
            return;
        }
    }
}

} // namespace rtd::host::ch341

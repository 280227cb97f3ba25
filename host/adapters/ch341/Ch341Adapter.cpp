#include "Ch341Adapter.h"

#include <algorithm>
#include <cstring>

#include "Ch341Encoder.h"

namespace rtd::host::ch341 {

namespace {

// Longest write accepted in one transaction: any length goes packet by packet, this only
// bounds a runaway count.
constexpr int kMaxWrite = 65535;

} // namespace

bool Ch341Adapter::SetSpeed(int khz, std::string* error) {
    Packet packet;
    if (!EncodeSpeed(khz, &packet)) {
        *error = "the CH341A has no " + std::to_string(khz) + " kHz clock";
        return false;
    }
    std::vector<uint8_t> answer;
    return Exchange(packet, &answer, error);
}

AdapterCapabilities Ch341Adapter::Capabilities() const {
    AdapterCapabilities c;
    c.name = name_;
    c.maxWrite = kMaxWrite;
    c.maxRead = kMaxRead;
    c.plainI2c = true;
    c.seesAcknowledge = true;
    c.speedsKhz = SpeedsKhz();
    return c;
}

bool Ch341Adapter::Exchange(const Packet& packet, std::vector<uint8_t>* answer,
                            std::string* error) {
    answer->clear();
    if (link_->Send(packet.bytes, error) &&
        (packet.answerSize == 0 || link_->Receive(packet.answerSize, answer, error)))
        return true;
    linkFailed_ = true;
    Release();
    return false;
}

void Ch341Adapter::Release() {
    std::string ignored;
    link_->Send(EncodeStop().bytes, &ignored);
}

bool Ch341Adapter::Write(uint8_t address, const uint8_t* data, int count, std::string* error) {
    linkFailed_ = false;
    if (count > kMaxWrite) {
        *error = "longer than the adapter takes";
        return false;
    }
    size_t sent = 0; // bytes clocked out so far, the address byte first
    std::vector<uint8_t> answer;
    for (const Packet& packet : EncodeWrite(address, data, count)) {
        if (!Exchange(packet, &answer, error))
            return false;
        for (uint8_t ack : answer) {
            if (ack & kNotAcknowledged) {
                *error = NotAcknowledged(sent);
                Release();
                return false;
            }
            ++sent;
        }
    }
    return true;
}

bool Ch341Adapter::Read(uint8_t address, uint8_t* data, int count, std::string* error) {
    linkFailed_ = false;
    if (count > kMaxRead) {
        *error = "longer than the adapter reads in one transaction";
        return false;
    }
    std::vector<uint8_t> in, answer;
    for (const Packet& packet : EncodeRead(address, count)) {
        if (!Exchange(packet, &answer, error))
            return false;
        in.insert(in.end(), answer.begin(), answer.end());
    }
    // The first answer byte is the address byte's acknowledge, the rest the data.
    if (count > 0)
        std::memcpy(data, in.data() + 1, static_cast<size_t>(count));
    if (in[0] & kNotAcknowledged) {
        *error = NotAcknowledged(0);
        return false;
    }
    return true;
}

} // namespace rtd::host::ch341

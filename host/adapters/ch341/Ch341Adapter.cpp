#include "Ch341Adapter.h"

#include <algorithm>
#include <cstring>

#include "Ch341Encoder.h"

namespace rtd::host::ch341 {

namespace {

// Longest write in one transaction: 1 KiB is a stream of 36 packets, well within the
// 4 KiB requests the maker's own Linux driver sends.
constexpr int kMaxWrite = 1024;

} // namespace

bool Ch341Adapter::SetSpeed(int khz, std::string* error) {
    Transfer transfer;
    if (!EncodeSpeed(khz, &transfer)) {
        *error = "the CH341A has no " + std::to_string(khz) + " kHz clock";
        return false;
    }
    std::vector<uint8_t> answer;
    return Exchange(transfer, &answer, error);
}

AdapterCapabilities Ch341Adapter::Capabilities() const {
    AdapterCapabilities c;
    c.name = name_;
    c.maxWrite = kMaxWrite;
    c.maxRead = kMaxRead;
    c.plainI2c = true;
    c.seesAcknowledge = true; // of the address byte, which is what the probes look at
    c.speedsKhz = SpeedsKhz();
    return c;
}

bool Ch341Adapter::Exchange(const Transfer& transfer, std::vector<uint8_t>* answer,
                            std::string* error) {
    answer->clear();
    if (link_->Send(transfer.bytes, error) &&
        (transfer.answerSize == 0 || link_->Receive(transfer.answerSize, answer, error)))
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
    std::vector<uint8_t> answer;
    if (!Exchange(EncodeWrite(address, data, count), &answer, error))
        return false;
    // The stream ended with its STOP whatever the chip answered.
    if (answer[0] & kNotAcknowledged) {
        *error = NotAcknowledged(0);
        return false;
    }
    return true;
}

bool Ch341Adapter::Read(uint8_t address, uint8_t* data, int count, std::string* error) {
    linkFailed_ = false;
    if (count > kMaxRead) {
        *error = "longer than the adapter reads in one transaction";
        return false;
    }
    std::vector<uint8_t> answer;
    if (!Exchange(EncodeRead(address, count), &answer, error))
        return false;
    // The first answer byte is the address byte's acknowledge, the rest the data.
    if (count > 0)
        std::memcpy(data, answer.data() + 1, static_cast<size_t>(count));
    if (answer[0] & kNotAcknowledged) {
        *error = NotAcknowledged(0);
        return false;
    }
    return true;
}

} // namespace rtd::host::ch341

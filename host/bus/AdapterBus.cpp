#include "AdapterBus.h"

#include <cstring>
#include <vector>

namespace rtd::host {

std::string HexByte(unsigned value) {
    static const char kDigits[] = "0123456789ABCDEF";
    return std::string{kDigits[(value >> 4) & 0xF], kDigits[value & 0xF]};
}

bool AdapterBus::IicWrite(uint8_t address, int count, const uint8_t* data) {
    std::string reason = "bad length";
    if (count >= 0 && (count == 0 || data) && adapter_->Write(address, data, count, &reason))
        return true;
    Fail(false, address, count, reason);
    return false;
}

bool AdapterBus::IicRead(uint8_t address, int count, uint8_t* data) {
    std::string reason = "bad length";
    if (count >= 0 && (count == 0 || data)) {
        std::vector<uint8_t> scratch(data, data + count);
        if (adapter_->Read(address, scratch.data(), count, &reason)) {
            if (count)
                std::memcpy(data, scratch.data(), static_cast<size_t>(count));
            return true;
        }
    }
    Fail(true, address, count, reason);
    return false;
}

void AdapterBus::Fail(bool read, uint8_t address, int count, const std::string& reason) {
    if (failures_++ == 0)
        firstFailure_ = std::string(read ? "read of " : "write of ") + std::to_string(count) +
                        (count == 1 ? " byte" : " bytes") + " at address " + HexByte(address) +
                        ": " + reason;
}

std::string AdapterBus::FailureSummary() const {
    if (!failures_)
        return "";
    return adapter_->Capabilities().name + ": " + std::to_string(failures_) +
           (failures_ == 1 ? " bus transfer failed" : " bus transfers failed") +
           "; the first: " + firstFailure_;
}

bool AdapterHostBus::Finish(Reporter* reporter) {
    const std::string summary = bus_.FailureSummary();
    if (!summary.empty())
        reporter->Error(summary);
    // The plug-in's result already tells whether the chip answered.
    return finish_ ? finish_(reporter) : true;
}

ProbeResult ProbeChip(I2cAdapter& adapter) {
    static const uint8_t kStatusRegister = 0x90;
    ProbeResult r;
    std::string reason;
    uint8_t status = 0xFF;
    if (!adapter.Write(0x94, &kStatusRegister, 1, &reason)) {
        r.reason = "write at 94: " + reason;
        return r;
    }
    if (!adapter.Read(0x95, &status, 1, &reason)) {
        r.reason = "read at 95: " + reason;
        return r;
    }
    r.status = status;
    r.answer = adapter.Capabilities().seesAcknowledge ? ProbeResult::Answer::Yes
                                                      : ProbeResult::Answer::Unknown;
    return r;
}

std::string ProbeResult::Describe() const {
    switch (answer) {
    case Answer::Yes:
        return "chip answers at 0x4A (status " + HexByte(status) + ")";
    case Answer::Unknown:
        return status == 0xFF ? "status reads FF at 0x4A: probably no chip (the adapter does not "
                                "report acknowledge bits)"
                              : "status reads " + HexByte(status) +
                                    " at 0x4A: something answers (the adapter does not report "
                                    "acknowledge bits)";
    case Answer::No:
        break;
    }
    return "no chip at 0x4A (" + reason + ")";
}

} // namespace rtd::host

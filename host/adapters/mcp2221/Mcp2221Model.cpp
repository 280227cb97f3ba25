#include "Mcp2221Model.h"

#include <algorithm>

#include "LinkFaults.h"

namespace rtd::host::mcp2221 {

namespace {
constexpr const char* kBusyFault = "engine-busy=";
} // namespace

const std::vector<sim::FaultForm>& Mcp2221FaultForms() {
    static const std::vector<sim::FaultForm> forms = {
        {"engine-busy=T", "engine-busy=3",
         "the adapter answers busy in bus transfer T until it is cancelled"}};
    return forms;
}

bool Mcp2221Model::Knows(const std::string& fault) {
    return fault.rfind(kBusyFault, 0) == 0;
}

bool Mcp2221Model::AddFault(const std::string& fault, std::string* error) {
    if (Knows(fault) && ParseFaultCount(fault.substr(std::string(kBusyFault).size()), &busyAt_))
        return true;
    *error = "'" + fault + "' is not an MCP2221A fault (engine-busy=T, T counted from 1)";
    return false;
}

bool Mcp2221Model::Send(const std::vector<uint8_t>& data, std::string*) {
    answered_ = false;
    if (data.size() != kReportSize) {
        ++badReports_;
        return true;
    }
    answer_ = Answer(data);
    answered_ = !answer_.empty();
    if (!answered_)
        ++badReports_;
    return true;
}

bool Mcp2221Model::Receive(size_t size, std::vector<uint8_t>* data, std::string* error) {
    data->clear();
    if (!answered_ || size != kReportSize) {
        *error = "USB transfer failed: Operation timed out";
        return false;
    }
    *data = answer_;
    answered_ = false;
    return true;
}

Report Mcp2221Model::Answer(const Report& request) {
    switch (request[0]) {
    case kStatus:
        return Status(request);
    case kWrite:
        return Write(request);
    case kRead:
        return Read(request);
    case kGetData:
        return GetData();
    default:
        return {};
    }
}

void Mcp2221Model::Cancel() {
    if (onBus_)
        wire_->Stop();
    onBus_ = false;
    state_ = kIdle;
    nack_ = busy_ = false;
    left_ = 0;
    readData_.clear();
}

Report Mcp2221Model::Status(const Report& request) {
    Report a(kReportSize, 0);
    a[0] = kStatus;
    if (request[2] == kCancel) {
        a[2] = state_ == kIdle && !nack_ && !busy_ ? kAlreadyIdle : kCancelling;
        Cancel();
    }
    if (request[3] == kSetSpeed) {
        // Refused while the engine is not idle, as after a NACK until a cancel.
        const bool idle = state_ == kIdle && !nack_;
        a[3] = idle ? kSpeedTaken : kSpeedRefused;
        a[4] = request[4];
        if (idle)
            divider_ = request[4];
    }
    a[kStateByte] = state_;
    a[9] = static_cast<uint8_t>(length_ & 0xFF);
    a[10] = static_cast<uint8_t>(length_ >> 8);
    a[kSentLow] = static_cast<uint8_t>(sent_ & 0xFF);
    a[kSentLow + 1] = static_cast<uint8_t>(sent_ >> 8);
    a[14] = divider_;
    a[kAckByte] = nack_ ? kNackBit : 0;
    return a;
}

bool Mcp2221Model::StartsBusy() {
    if (!busy_ && busyAt_ && transactions_ + 1 == busyAt_) {
        ++transactions_;
        busy_ = true;
        state_ = kSendingData; // stuck in a transfer, as the status shows until a cancel
    }
    return busy_;
}

Report Mcp2221Model::Write(const Report& request) {
    Report a(kReportSize, 0);
    a[0] = kWrite;
    const int length = request[1] | request[2] << 8;
    const bool fresh = state_ == kIdle && !nack_;
    if (fresh && StartsBusy()) {
        a[1] = kBusy;
        return a;
    }
    if (busy_ || state_ == kReadDone) {
        a[1] = kBusy;
        return a;
    }
    a[2] = state_;
    if (nack_ || state_ == kAddressNack)
        return a; // taken, and dropped: the transaction already failed
    if (fresh) {
        ++transactions_;
        length_ = left_ = length;
        sent_ = 0;
        address_ = request[3];
        wire_->Start();
        onBus_ = true;
        if (!wire_->WriteByte(address_)) {
            state_ = kAddressNack;
            nack_ = true;
            wire_->Stop();
            onBus_ = false;
            return a;
        }
        state_ = kSendingData;
    } else if (length != length_ || request[3] != address_) {
        return {}; // not the continuation of the write under way
    }
    const int n = std::min(kChunk, left_);
    for (int i = 0; i < n; ++i) {
        if (!wire_->WriteByte(request[4 + static_cast<size_t>(i)])) {
            nack_ = true;
            wire_->Stop();
            onBus_ = false;
            return a;
        }
        ++sent_;
    }
    left_ -= n;
    if (left_ == 0) {
        wire_->Stop();
        onBus_ = false;
        state_ = kIdle;
    }
    return a;
}

Report Mcp2221Model::Read(const Report& request) {
    Report a(kReportSize, 0);
    a[0] = kRead;
    if (StartsBusy() || state_ != kIdle || nack_) {
        a[1] = kBusy;
        return a;
    }
    ++transactions_;
    const int length = request[1] | request[2] << 8;
    length_ = length;
    sent_ = 0;
    wire_->Start();
    // The engine sets the read bit itself: an even address byte reads as well.
    if (!wire_->WriteByte(static_cast<uint8_t>(request[3] | 1))) {
        state_ = kAddressNack;
        nack_ = true;
        wire_->Stop();
        return a;
    }
    std::vector<uint8_t> in(static_cast<size_t>(length));
    wire_->ReadBytes(length, in.data());
    wire_->Stop();
    readData_.assign(in.begin(), in.end());
    state_ = length ? kReadDone : kIdle;
    return a;
}

Report Mcp2221Model::GetData() {
    Report a(kReportSize, 0);
    a[0] = kGetData;
    if (state_ == kAddressNack) {
        a[2] = kAddressNack;
        a[3] = kReadError;
        return a;
    }
    const size_t n = std::min(readData_.size(), static_cast<size_t>(kChunk));
    a[2] = state_;
    a[3] = static_cast<uint8_t>(n);
    std::copy(readData_.begin(), readData_.begin() + static_cast<std::ptrdiff_t>(n), a.begin() + 4);
    readData_.erase(readData_.begin(), readData_.begin() + static_cast<std::ptrdiff_t>(n));
    if (readData_.empty() && state_ == kReadDone)
        state_ = kIdle;
    return a;
}

} // namespace rtd::host::mcp2221

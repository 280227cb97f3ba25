#include "Mcp2221Adapter.h"

#include <algorithm>

namespace rtd::host::mcp2221 {

namespace {

// How many answers a transfer may wait through: each exchange takes two 1 ms USB frames,
// so this is about 2 s, far more than a 257-byte write takes at 100 kHz (27 ms).
constexpr int kPolls = 1000;
// Busy answers to one report: the engine is still moving an earlier chunk (60 bytes take
// 5.4 ms at 100 kHz), so about 100 ms.
constexpr int kBusyTries = 50;

std::string Hex(uint8_t byte) {
    return StateText(byte).substr(6);
}

} // namespace

bool Mcp2221Adapter::Begin(int khz, std::string* error) {
    divider_ = SpeedDivider(khz);
    if (divider_ < 0) {
        *error = "the MCP2221A is not offered at " + std::to_string(khz) + " kHz";
        return false;
    }
    Report answer;
    if (!Recover(error))
        return false;
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (!Exchange(StatusRequest(false, divider_), &answer, error))
            return false;
        if (ParseStatus(answer).speed == kSpeedTaken)
            return true;
        // Refused while a transfer is under way, as after a NACK: cancel and ask again.
        if (!Recover(error))
            return false;
    }
    *error = "the MCP2221A refused the " + std::to_string(khz) + " kHz clock";
    return false;
}

AdapterCapabilities Mcp2221Adapter::Capabilities() const {
    AdapterCapabilities c;
    c.name = name_;
    c.maxWrite = kMaxLength;
    c.maxRead = kMaxLength;
    c.plainI2c = true;
    c.seesAcknowledge = true;
    c.speedsKhz = SpeedsKhz();
    return c;
}

bool Mcp2221Adapter::Exchange(const Report& request, Report* answer, std::string* error) {
    if (!link_->Send(request, error) || !link_->Receive(kReportSize, answer, error))
        return false;
    if (answer->size() == kReportSize && (*answer)[0] == request[0])
        return true;
    *error = "unexpected answer from the MCP2221A (" +
             (answer->empty() ? std::string("empty") : Hex((*answer)[0])) + " to a " +
             Hex(request[0]) + " request)";
    return false;
}

bool Mcp2221Adapter::SendTaken(const Report& request, std::string* error) {
    Report answer;
    for (int i = 0; i < kBusyTries; ++i) {
        if (!Exchange(request, &answer, error))
            return false;
        if (answer[1] == kTaken)
            return true;
        if (answer[1] != kBusy) {
            *error = "the MCP2221A refused a report (answer " + Hex(answer[1]) + ")";
            return false;
        }
    }
    *error = "the MCP2221A's I2C engine stayed busy";
    return false;
}

bool Mcp2221Adapter::AwaitIdle(std::string* error) {
    Report answer;
    for (int i = 0; i < kPolls; ++i) {
        if (!Exchange(StatusRequest(), &answer, error))
            return false;
        const Status s = ParseStatus(answer);
        if (!s.valid) {
            *error = "the MCP2221A did not complete a status request";
            return false;
        }
        if (s.state == kAddressNack) {
            *error = NotAcknowledged(0);
            return false;
        }
        if (s.nack) {
            *error = NotAcknowledged(static_cast<size_t>(s.sent) + 1);
            return false;
        }
        if (IsTimeoutState(s.state)) {
            *error = "I2C timeout (" + StateText(s.state) + "): SCL or SDA held low?";
            return false;
        }
        if (s.state == kIdle)
            return true;
    }
    *error = "the transfer did not finish (" + StateText(ParseStatus(answer).state) + ")";
    return false;
}

bool Mcp2221Adapter::Recover(std::string* error) {
    // A cancel of an idle engine is left out: drivers report that it upsets the chip.
    Report answer;
    if (!Exchange(StatusRequest(), &answer, error))
        return false;
    const Status s = ParseStatus(answer);
    if (s.state != kIdle || s.nack) {
        if (!Exchange(StatusRequest(true), &answer, error))
            return false;
        for (int i = 0; ParseStatus(answer).state != kIdle; ++i) {
            if (i == kPolls) {
                *error = "the MCP2221A's I2C engine does not return to idle after a cancel";
                return false;
            }
            if (!Exchange(StatusRequest(), &answer, error))
                return false;
        }
    }
    dirty_ = false;
    return true;
}

bool Mcp2221Adapter::Fail(const std::string& reason, std::string* error) {
    *error = reason;
    dirty_ = true;
    std::string ignored;
    Recover(&ignored); // the next transfer tries again when this does not work
    return false;
}

bool Mcp2221Adapter::Write(uint8_t address, const uint8_t* data, int count, std::string* error) {
    std::string reason;
    if (count > kMaxLength)
        return Fail("longer than the adapter takes", error);
    if (dirty_ && !Recover(&reason))
        return Fail(reason, error);
    for (const Report& report : WriteRequests(address, data, count))
        if (!SendTaken(report, &reason))
            return Fail(reason, error);
    if (!AwaitIdle(&reason))
        return Fail(reason, error);
    return true;
}

bool Mcp2221Adapter::Read(uint8_t address, uint8_t* data, int count, std::string* error) {
    std::string reason;
    if (count > kMaxLength)
        return Fail("longer than the adapter reads in one transaction", error);
    if (dirty_ && !Recover(&reason))
        return Fail(reason, error);
    if (!SendTaken(ReadRequest(static_cast<uint8_t>(address | 1), count), &reason))
        return Fail(reason, error);
    if (count == 0)
        return AwaitIdle(&reason) || Fail(reason, error);
    Report answer;
    int got = 0;
    for (int polls = 0; got < count; ++polls) {
        if (polls == kPolls)
            return Fail("the read did not finish", error);
        if (!Exchange(GetDataRequest(), &answer, &reason))
            return Fail(reason, error);
        if (answer[1] == kNoData)
            continue;
        if (answer[1] != kTaken)
            return Fail("Get I2C Data failed (answer " + Hex(answer[1]) + ")", error);
        if (answer[2] == kAddressNack)
            return Fail(NotAcknowledged(0), error);
        if (answer[3] == kReadError) {
            // The status names what went wrong on the bus.
            return Fail(AwaitIdle(&reason) ? "the MCP2221A reported a read error" : reason, error);
        }
        const int n = answer[3];
        if (n > kChunk || n > count - got)
            return Fail("the MCP2221A returned more bytes than were read", error);
        std::copy(answer.begin() + 4, answer.begin() + 4 + n, data + got);
        got += n;
    }
    return true;
}

} // namespace rtd::host::mcp2221

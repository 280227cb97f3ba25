#include "MpsseAdapter.h"

namespace rtd::host::ftdi {

namespace {

// Sync answers are looked for within this many stray bytes.
constexpr size_t kMaxStrayBytes = 4096;

} // namespace

bool MpsseAdapter::Begin(std::string* error) {
    if (!Sync(error))
        return false;
    std::string reason;
    if (!link_->Send(EncodeSetup(chip_, kHz_), &reason)) {
        *error = name_ + ": cannot set up the MPSSE: " + reason;
        return false;
    }
    return true;
}

// Sends the two unknown opcodes and reads their echo. After a broken transaction the
// answers left over are dropped, a byte at a time, until the echo turns up.
bool MpsseAdapter::Sync(std::string* error) {
    std::string reason;
    if (!link_->Send(EncodeSync(), &reason)) {
        *error = name_ + ": " + reason;
        return false;
    }
    Bytes seen, next;
    bool received = link_->Receive(4, &seen, &reason);
    for (size_t dropped = 0; received && !IsSyncAnswer(seen) && dropped < kMaxStrayBytes;
         ++dropped) {
        received = link_->Receive(1, &next, &reason);
        if (received) {
            seen.erase(seen.begin());
            seen.push_back(next[0]);
        }
    }
    if (received && IsSyncAnswer(seen)) {
        outOfStep_ = false;
        return true;
    }
    *error = name_ + ": the adapter does not answer as an FTDI MPSSE" +
             (reason.empty() ? "" : " (" + reason + ")");
    return false;
}

AdapterCapabilities MpsseAdapter::Capabilities() const {
    AdapterCapabilities c;
    c.name = name_;
    c.maxWrite = kMaxTransfer;
    c.maxRead = kMaxTransfer;
    c.plainI2c = true;
    c.seesAcknowledge = true;
    c.speedsKhz = MpsseSpeedsKhz();
    return c;
}

bool MpsseAdapter::Exchange(const Bytes& commands, size_t answerBytes, Bytes* answer,
                            std::string* error) {
    answer->clear();
    if (link_->Send(commands, error) &&
        (answerBytes == 0 || link_->Receive(answerBytes, answer, error)))
        return true;
    outOfStep_ = true;
    return false;
}

bool MpsseAdapter::Transact(const std::vector<I2cMessage>& messages, I2cOutcome* outcome,
                            std::string* error) {
    if (outOfStep_ && !Sync(error))
        return false;
    const MpsseTransaction t = EncodeTransaction(chip_, kHz_, messages);
    Bytes answer;
    if (!Exchange(t.commands, t.answerBytes, &answer, error))
        return false;
    if (!DecodeAnswer(messages, answer, outcome)) {
        outOfStep_ = true;
        *error = "answer of " + std::to_string(answer.size()) + " bytes where " +
                 std::to_string(t.answerBytes) + " were expected";
        return false;
    }
    if (outcome->Acknowledged())
        return true;
    *error = NotAcknowledged(static_cast<size_t>(outcome->nackAt));
    return false;
}

bool MpsseAdapter::Write(uint8_t address, const uint8_t* data, int count, std::string* error) {
    if (count > kMaxTransfer) {
        *error = "a write of " + std::to_string(count) + " bytes is longer than " +
                 std::to_string(kMaxTransfer);
        return false;
    }
    if (outOfStep_ && !Sync(error))
        return false;
    const std::vector<MpsseTransaction> chunks = EncodeWriteChunks(
        chip_, kHz_, static_cast<uint8_t>(address >> 1), data, count, kWriteChunk);
    size_t sent = 0; // bytes acknowledged so far, the address byte first
    for (size_t i = 0; i < chunks.size(); ++i) {
        Bytes answer;
        if (!Exchange(chunks[i].commands, chunks[i].answerBytes, &answer, error))
            return false;
        for (uint8_t ack : answer) {
            if (ack & 0x01) {
                // The last chunk carries the STOP; an earlier one is followed by it now.
                std::string ignored;
                if (i + 1 < chunks.size() && !link_->Send(EncodeStop(chip_, kHz_), &ignored))
                    outOfStep_ = true;
                *error = NotAcknowledged(sent);
                return false;
            }
            ++sent;
        }
    }
    return true;
}

bool MpsseAdapter::Read(uint8_t address, uint8_t* data, int count, std::string* error) {
    if (count > kMaxTransfer) {
        *error = "a read of " + std::to_string(count) + " bytes is longer than " +
                 std::to_string(kMaxTransfer);
        return false;
    }
    I2cOutcome outcome;
    if (!Transact({I2cMessage::Read(static_cast<uint8_t>(address >> 1), count)}, &outcome, error))
        return false;
    std::copy(outcome.readData.begin(), outcome.readData.end(), data);
    return true;
}

} // namespace rtd::host::ftdi

#include "MpsseModel.h"

#include "I2cHolds.h"
#include "MpsseCommands.h"

namespace rtd::host::ftdi {

namespace {

int Length16(const uint8_t* command) {
    return (command[1] | command[2] << 8) + 1;
}

} // namespace

int MpsseEngine::ClockHz() const {
    const int base = divideBy5 ? 12000000 : 60000000;
    return base / ((1 + divisor) * (threePhase ? 3 : 2));
}

void MpsseModel::Write(const uint8_t* data, size_t count) {
    input_.insert(input_.end(), data, data + count);
    size_t at = 0;
    while (at < input_.size()) {
        const size_t length = CommandLength(&input_[at], input_.size() - at);
        if (length == 0)
            break; // the rest of this command comes with the next write
        Run(&input_[at]);
        at += length;
    }
    input_.erase(input_.begin(), input_.begin() + static_cast<long>(at));
}

bool MpsseModel::Send(const std::vector<uint8_t>& data, std::string*) {
    Write(data.data(), data.size());
    return true;
}

bool MpsseModel::Receive(size_t size, std::vector<uint8_t>* data, std::string* error) {
    data->assign(size, 0);
    const size_t got = Read(data->data(), size);
    if (got == size)
        return true;
    data->resize(got);
    *error =
        "USB read timed out: " + std::to_string(got) + " of " + std::to_string(size) + " bytes";
    return false;
}

size_t MpsseModel::Read(uint8_t* data, size_t count) {
    size_t n = 0;
    for (; n < count && !answers_.empty(); ++n) {
        data[n] = answers_.front();
        answers_.pop_front();
    }
    return n;
}

// Bytes of the command at `at`, or 0 when fewer than that have arrived.
size_t MpsseModel::CommandLength(const uint8_t* at, size_t available) const {
    size_t length = 1;
    switch (at[0]) {
    case mpsse::kBytesOutOnFalling:
        if (available < 3)
            return 0;
        length = 3 + static_cast<size_t>(Length16(at));
        break;
    case mpsse::kBitsOutOnFalling:
    case mpsse::kBytesInOnRising:
    case mpsse::kSetLowPins:
    case mpsse::kSetHighPins:
    case mpsse::kClockDivisor:
        length = 3;
        break;
    case mpsse::kBitsInOnRising:
        length = 2;
        break;
    case mpsse::kDriveZeroOnly:
        length = HasDriveZero(chip_) ? 3 : 1;
        break;
    default:
        break;
    }
    return available < length ? 0 : length;
}

void MpsseModel::Run(const uint8_t* c) {
    switch (c[0]) {
    case mpsse::kBytesOutOnFalling:
        for (int i = 0; i < Length16(c); ++i)
            for (int bit = 7; bit >= 0; --bit)
                ClockOut((c[3 + i] >> bit) & 1);
        break;
    case mpsse::kBitsOutOnFalling:
        for (int i = 0; i <= c[1] && i < 8; ++i)
            ClockOut((c[2] >> (7 - i)) & 1);
        break;
    case mpsse::kBytesInOnRising:
        for (int i = 0; i < Length16(c); ++i) {
            uint8_t byte = 0;
            for (int bit = 0; bit < 8; ++bit)
                byte = static_cast<uint8_t>(byte << 1 | (ClockIn() ? 1 : 0));
            answers_.push_back(byte);
        }
        break;
    case mpsse::kBitsInOnRising: {
        uint8_t byte = 0;
        for (int i = 0; i <= c[1] && i < 8; ++i)
            byte = static_cast<uint8_t>(byte << 1 | (ClockIn() ? 1 : 0));
        answers_.push_back(byte);
        break;
    }
    case mpsse::kSetLowPins:
        lowValue_ = c[1];
        lowDirection_ = c[2];
        PinWrite();
        break;
    case mpsse::kSetHighPins:
        highValue_ = c[1];
        highDirection_ = c[2];
        break;
    case mpsse::kReadLowPins: {
        const uint8_t bus = (SclLine() ? kPinScl : 0) | (SdaLine() ? kPinSdaOut | kPinSdaIn : 0);
        answers_.push_back(static_cast<uint8_t>((lowValue_ & 0xF8) | bus));
        break;
    }
    case mpsse::kReadHighPins:
        answers_.push_back(highValue_);
        break;
    case mpsse::kLoopbackOn:
    case mpsse::kLoopbackOff:
        engine_.loopback = c[0] == mpsse::kLoopbackOn;
        break;
    case mpsse::kClockDivisor:
        engine_.divisor = static_cast<uint16_t>(c[1] | c[2] << 8);
        break;
    case mpsse::kSendImmediate:
        break; // the answers are already there to read
    case mpsse::kDivideBy5Off:
    case mpsse::kDivideBy5On:
        engine_.divideBy5 = c[0] == mpsse::kDivideBy5On;
        break;
    case mpsse::kThreePhaseOn:
    case mpsse::kThreePhaseOff:
        engine_.threePhase = c[0] == mpsse::kThreePhaseOn;
        break;
    case mpsse::kAdaptiveOn:
    case mpsse::kAdaptiveOff:
        engine_.adaptive = c[0] == mpsse::kAdaptiveOn;
        break;
    default:
        if (c[0] == mpsse::kDriveZeroOnly && HasDriveZero(chip_)) {
            engine_.driveZeroLow = c[1];
            Lines();
            break;
        }
        answers_.push_back(mpsse::kBadCommand);
        answers_.push_back(c[0]);
        break;
    }
}

bool MpsseModel::SclLine() const {
    const bool driven = lowDirection_ & kPinScl;
    const bool floats = (lowValue_ & kPinScl) && (engine_.driveZeroLow & kPinScl);
    return !driven || floats || (lowValue_ & kPinScl);
}

bool MpsseModel::MasterReleasesSda() const {
    if (!(lowDirection_ & kPinSdaOut))
        return true;
    return (lowValue_ & kPinSdaOut) && (engine_.driveZeroLow & kPinSdaOut);
}

bool MpsseModel::SdaLine() const {
    const bool masterLow = !MasterReleasesSda() && !(lowValue_ & kPinSdaOut);
    return !masterLow && !targetLow_;
}

// A pin write that leaves the lines as they were holds their state one write longer.
void MpsseModel::PinWrite() {
    if (SclLine() == scl_ && SdaLine() == sda_) {
        ++heldWrites_;
        return;
    }
    Lines();
    heldWrites_ = 1;
}

void MpsseModel::CheckHeld(int ns, const char* what) {
    if (heldWrites_ * kPinWriteNs < ns)
        Violation(std::string(what) + " shorter than I2C's minimum");
}

// Follows the lines after the master changed its pins, as the target sees them.
void MpsseModel::Lines() {
    const bool scl = SclLine(), sda = SdaLine();
    const I2cMinimums minimums = MinimumsAt(engine_.ClockHz());
    if (scl != scl_ && sda != sda_)
        Violation("SCL and SDA changed in one pin write");
    if (sda != sda_ && scl_ && scl) {
        if (sda) {
            CheckHeld(minimums.stopSetup, "STOP set-up");
        } else if (phase_ == Phase::Idle) {
            CheckHeld(minimums.busFree, "bus free time before a START");
        } else {
            CheckHeld(minimums.startSetup, "repeated START set-up");
        }
        afterStart_ = !sda;
        sda_ = sda;
        sda ? OnStop() : OnStart();
    }
    sda_ = sda;
    if (scl != scl_) {
        if (!scl && afterStart_)
            CheckHeld(minimums.startHold, "START hold");
        afterStart_ = false;
        scl_ = scl;
        scl ? OnRise(SdaLine()) : OnFall();
        sda_ = SdaLine();
    }
}

// One SCL pulse driven by a clocking command; `sampled` receives SDA at the rising edge.
void MpsseModel::Pulse(bool* sampled) {
    if (engine_.divideBy5 || !engine_.threePhase || engine_.adaptive)
        Violation("data clocked without the 60 MHz three-phase set-up");
    if (!(lowDirection_ & kPinScl))
        Violation("data clocked with SCL not an output");
    if (scl_)
        Violation("data clocked from SCL high");
    lowValue_ |= kPinScl;
    Lines();
    if (sampled)
        *sampled = engine_.loopback ? (lowValue_ & kPinSdaOut) != 0 : SdaLine();
    lowValue_ &= static_cast<uint8_t>(~kPinScl);
    Lines();
    heldWrites_ = 0;
}

void MpsseModel::ClockOut(bool bit) {
    lowValue_ = static_cast<uint8_t>(bit ? lowValue_ | kPinSdaOut : lowValue_ & ~kPinSdaOut);
    Lines();
    Pulse(nullptr);
}

bool MpsseModel::ClockIn() {
    bool sampled = true;
    Pulse(&sampled);
    return sampled;
}

void MpsseModel::OnStart() {
    wire_->Start(); // a repeated START ends the transaction before it
    phase_ = Phase::Address;
    bits_ = 0;
    shift_ = 0;
}

void MpsseModel::OnStop() {
    wire_->Stop();
    phase_ = Phase::Idle;
    targetLow_ = false;
}

void MpsseModel::OnRise(bool sda) {
    switch (phase_) {
    case Phase::Address:
    case Phase::WriteByte:
        shift_ = static_cast<uint8_t>(shift_ << 1 | (sda ? 1 : 0));
        ++bits_;
        break;
    case Phase::MasterAck:
        masterAcked_ = !sda;
        break;
    case Phase::AddressAck:
    case Phase::WriteAck:
    case Phase::ReadByte:
        // Momentary overlap right after the falling edge is the nature of a push-pull
        // SDA; at the sampling edge the master must have let go.
        if (!MasterReleasesSda())
            Violation("SDA driven by the master while the target sends");
        break;
    default:
        break;
    }
}

void MpsseModel::DriveReadBit() {
    targetLow_ = !((readByte_ >> (7 - bits_)) & 1);
}

// The target changes SDA only while SCL is low, right after a falling edge.
void MpsseModel::OnFall() {
    switch (phase_) {
    case Phase::Address:
        if (bits_ < 8)
            return;
        address_ = shift_;
        acked_ = wire_->WriteByte(address_);
        targetLow_ = acked_;
        phase_ = Phase::AddressAck;
        break;
    case Phase::AddressAck:
    case Phase::WriteAck:
        targetLow_ = false;
        bits_ = 0;
        shift_ = 0;
        if (!(address_ & 1)) {
            // After a refused byte the master may clock on: the wire refuses the rest, and
            // counts it.
            phase_ = Phase::WriteByte;
        } else if (!acked_) {
            phase_ = Phase::Ignore;
        } else {
            phase_ = Phase::ReadByte;
            wire_->ReadBytes(1, &readByte_);
            DriveReadBit();
        }
        break;
    case Phase::WriteByte:
        if (bits_ < 8)
            return;
        acked_ = wire_->WriteByte(shift_);
        targetLow_ = acked_;
        phase_ = Phase::WriteAck;
        break;
    case Phase::ReadByte:
        if (++bits_ < 8) {
            DriveReadBit();
            return;
        }
        targetLow_ = false;
        phase_ = Phase::MasterAck;
        break;
    case Phase::MasterAck:
        bits_ = 0;
        if (masterAcked_) {
            phase_ = Phase::ReadByte;
            wire_->ReadBytes(1, &readByte_);
            DriveReadBit();
        } else
            phase_ = Phase::Ignore;
        break;
    default:
        break;
    }
}

} // namespace rtd::host::ftdi

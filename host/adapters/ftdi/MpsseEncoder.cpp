#include "MpsseEncoder.h"

#include <algorithm>

#include "I2cHolds.h"
#include "MpsseCommands.h"

namespace rtd::host::ftdi {

namespace {

constexpr int kBaseClockHz = 60000000;
constexpr uint8_t kSyncOpcodes[] = {0xAA, 0xAB};
constexpr uint8_t kAck = 0x00, kNack = 0x80; // the one bit that 0x13 clocks out

class CommandWriter {
public:
    CommandWriter(FtdiChip chip, int kHz) : chip_(chip), holds_(HoldsAt(kHz * 1000)) {}

    // The bus lines as the master leaves them: true releases a line (the pull-up takes
    // it high). On the FT232H drive-zero mode makes a 1 float; elsewhere SDA is released
    // by making its pin an input. SCL is always driven on those chips.
    void Pins(bool scl, bool sda, int times = 1) {
        const uint8_t value = (scl ? kPinScl : 0) | (sda ? kPinSdaOut : 0);
        uint8_t direction = kPinScl | kPinSdaOut;
        if (!HasDriveZero(chip_) && sda)
            direction = kPinScl;
        for (int i = 0; i < times; ++i)
            Add({mpsse::kSetLowPins, value, direction});
    }

    void Start(bool repeated) {
        if (repeated)
            Pins(false, true); // SDA up while SCL is low, then SCL up
        Pins(true, true, repeated ? holds_.startSetup : holds_.busFree);
        Pins(true, false, holds_.startHold); // SDA falls while SCL is high
        Pins(false, false);
    }

    void Stop() {
        Pins(false, false);
        Pins(true, false, holds_.stopSetup);
        Pins(true, true, holds_.busFree); // SDA rises while SCL is high, and the bus is idle
    }

    // The byte goes out while SCL is low (falling edge), then SDA is released and the
    // target's ACK bit is read on the rising edge.
    void SendByte(uint8_t byte) {
        Pins(false, false);
        Add({mpsse::kBytesOutOnFalling, 0x00, 0x00, byte});
        Pins(false, true);
        Add({mpsse::kBitsInOnRising, 0x00});
        ++answers_;
    }

    // The byte is read with SDA released, then SDA is driven for the master's ACK, or
    // NACK after the last byte.
    void ReceiveByte(bool last) {
        Pins(false, true);
        Add({mpsse::kBytesInOnRising, 0x00, 0x00});
        Pins(false, false);
        Add({mpsse::kBitsOutOnFalling, 0x00, last ? kNack : kAck});
        ++answers_;
    }

    void Add(std::initializer_list<uint8_t> bytes) { out_.insert(out_.end(), bytes); }
    MpsseTransaction Take() { return {std::move(out_), answers_}; }

private:
    FtdiChip chip_;
    I2cHolds holds_;
    Bytes out_;
    size_t answers_ = 0;
};

} // namespace

const char* ChipName(FtdiChip chip) {
    switch (chip) {
    case FtdiChip::Ft232h:
        return "FT232H";
    case FtdiChip::Ft2232h:
        return "FT2232H";
    case FtdiChip::Ft4232h:
        return "FT4232H";
    }
    return "FTDI";
}

bool HasDriveZero(FtdiChip chip) {
    return chip == FtdiChip::Ft232h;
}

int MpsseInterfaces(FtdiChip chip) {
    return chip == FtdiChip::Ft232h ? 1 : 2;
}

const std::vector<int>& MpsseSpeedsKhz() {
    static const std::vector<int> speeds = {100, 400};
    return speeds;
}

bool IsSupportedSpeed(int kHz) {
    const std::vector<int>& speeds = MpsseSpeedsKhz();
    return std::find(speeds.begin(), speeds.end(), kHz) != speeds.end();
}

uint16_t ClockDivisor(int kHz) {
    return static_cast<uint16_t>(kBaseClockHz / (3 * 1000 * kHz) - 1);
}

Bytes EncodeSync() {
    return Bytes(std::begin(kSyncOpcodes), std::end(kSyncOpcodes));
}

bool IsSyncAnswer(const Bytes& answer) {
    Bytes expected;
    for (uint8_t op : kSyncOpcodes)
        expected.insert(expected.end(), {mpsse::kBadCommand, op});
    return answer == expected;
}

Bytes EncodeSetup(FtdiChip chip, int kHz) {
    CommandWriter w(chip, kHz);
    w.Add({mpsse::kDivideBy5Off, mpsse::kAdaptiveOff, mpsse::kThreePhaseOn});
    if (HasDriveZero(chip))
        w.Add({mpsse::kDriveZeroOnly, kPinScl | kPinSdaOut | kPinSdaIn, 0x00});
    const uint16_t divisor = ClockDivisor(kHz);
    w.Add({mpsse::kLoopbackOff, mpsse::kClockDivisor, static_cast<uint8_t>(divisor & 0xFF),
           static_cast<uint8_t>(divisor >> 8)});
    w.Pins(true, true);
    return w.Take().commands;
}

I2cMessage I2cMessage::Write(uint8_t address7, const uint8_t* data, int count) {
    I2cMessage m;
    m.address7 = address7;
    if (count > 0)
        m.bytes.assign(data, data + count);
    return m;
}

I2cMessage I2cMessage::Read(uint8_t address7, int count) {
    I2cMessage m;
    m.address7 = address7;
    m.read = true;
    m.readCount = count;
    return m;
}

MpsseTransaction EncodeTransaction(FtdiChip chip, int kHz,
                                   const std::vector<I2cMessage>& messages) {
    CommandWriter w(chip, kHz);
    for (size_t i = 0; i < messages.size(); ++i) {
        const I2cMessage& m = messages[i];
        w.Start(i > 0);
        w.SendByte(static_cast<uint8_t>(m.address7 << 1 | (m.read ? 1 : 0)));
        if (m.read) {
            for (int k = 0; k < m.readCount; ++k)
                w.ReceiveByte(k == m.readCount - 1);
        } else {
            for (uint8_t byte : m.bytes)
                w.SendByte(byte);
        }
    }
    w.Stop();
    w.Add({mpsse::kSendImmediate});
    return w.Take();
}

std::vector<MpsseTransaction> EncodeWriteChunks(FtdiChip chip, int kHz, uint8_t address7,
                                                const uint8_t* data, int count, int chunk) {
    std::vector<MpsseTransaction> chunks;
    int at = 0;
    while (chunks.empty() || at < count) {
        CommandWriter w(chip, kHz);
        int end = count;
        if (chunks.empty()) {
            w.Start(false);
            w.SendByte(static_cast<uint8_t>(address7 << 1));
            if (count > chunk)
                end = 1; // the register byte alone
        } else {
            end = std::min(count, at + chunk);
        }
        for (; at < end; ++at)
            w.SendByte(data[at]);
        if (at == count)
            w.Stop();
        w.Add({mpsse::kSendImmediate});
        chunks.push_back(w.Take());
    }
    return chunks;
}

Bytes EncodeStop(FtdiChip chip, int kHz) {
    CommandWriter w(chip, kHz);
    w.Stop();
    return w.Take().commands;
}

bool DecodeAnswer(const std::vector<I2cMessage>& messages, const Bytes& answer, I2cOutcome* out) {
    *out = I2cOutcome{};
    size_t at = 0;
    int sent = 0; // address and written bytes so far
    auto ack = [&](uint8_t bit) {
        if ((bit & 0x01) && out->nackAt < 0)
            out->nackAt = sent;
        ++sent;
    };
    for (const I2cMessage& m : messages) {
        const size_t need = 1 + (m.read ? static_cast<size_t>(m.readCount) : m.bytes.size());
        if (answer.size() < at + need)
            return false;
        ack(answer[at++]);
        if (m.read) {
            out->readData.insert(out->readData.end(), answer.begin() + static_cast<long>(at),
                                 answer.begin() + static_cast<long>(at + need - 1));
            at += need - 1;
        } else {
            for (size_t k = 0; k < m.bytes.size(); ++k)
                ack(answer[at++]);
        }
    }
    return at == answer.size();
}

} // namespace rtd::host::ftdi

// The FTDI MPSSE protocol model: a software adapter that runs the command bytes sent to
// an FT232H, FT2232H or FT4232H as its engine would, follows SCL and SDA as a target on
// the bus sees them (START, address, data, ACK clocks, STOP), plays them into the wire
// model (which answers as the chip does and hands it each transaction), and answers what
// the adapter would answer: ACK bits, read data, NACKs. ADBUS1 and ADBUS2 count as tied,
// as the wiring requires. As a byte link it stands where libftdi or ftd2xx.dll would.
#ifndef RTD_HOST_ADAPTERS_FTDI_MPSSEMODEL_H
#define RTD_HOST_ADAPTERS_FTDI_MPSSEMODEL_H

#include <cstddef>
#include <cstdint>
#include <deque>
#include <set>
#include <string>

#include "ByteLink.h"
#include "I2cWireModel.h"
#include "MpsseEncoder.h"

namespace rtd::host::ftdi {

// The engine's set-up as the commands left it; power-up values by default.
struct MpsseEngine {
    bool divideBy5 = true;
    bool threePhase = false;
    bool adaptive = false;
    bool loopback = false;
    uint16_t divisor = 0;
    uint8_t driveZeroLow = 0; // low-byte pins that only drive a 0 (FT232H)

    // SCL frequency that clocking commands run at.
    int ClockHz() const;
};

class MpsseModel : public ByteLink {
public:
    // `wire` must outlive the model.
    MpsseModel(FtdiChip chip, I2cWireModel* wire) : chip_(chip), wire_(wire) {}

    // Runs commands as the engine receives them; a command split between two calls is
    // run when its last byte arrives.
    void Write(const uint8_t* data, size_t count);
    // Takes up to `count` answer bytes, oldest first, and returns how many it took.
    size_t Read(uint8_t* data, size_t count);
    size_t Pending() const { return answers_.size(); }

    // The link: sends always arrive; a receive of more than the engine has answered
    // takes what there is and times out, as a USB read would.
    bool Send(const std::vector<uint8_t>& data, std::string* error) override;
    bool Receive(size_t size, std::vector<uint8_t>* data, std::string* error) override;

    const MpsseEngine& Engine() const { return engine_; }
    // What the commands did wrong on the bus (SDA driven while the target sends, lines
    // changed together, clocking without three-phase, a START or STOP held shorter than
    // I2C's minimum at the engine's clock, counting 0.5 us a pin write...), each named once.
    const std::set<std::string>& Violations() const { return violations_; }

private:
    enum class Phase {
        Idle,
        Address,
        AddressAck,
        WriteByte,
        WriteAck,
        ReadByte,
        MasterAck,
        Ignore
    };

    size_t CommandLength(const uint8_t* at, size_t available) const;
    void Run(const uint8_t* command);
    void ClockOut(bool bit);
    bool ClockIn();
    void Pulse(bool* sampled);
    void PinWrite();
    void Lines();
    // A violation when the state that just ended was held shorter than `ns`.
    void CheckHeld(int ns, const char* what);
    bool MasterReleasesSda() const;
    bool SdaLine() const;
    bool SclLine() const;
    void Violation(const std::string& what) { violations_.insert(what); }

    void OnStart();
    void OnStop();
    void OnRise(bool sda);
    void OnFall();
    void DriveReadBit();

    FtdiChip chip_;
    I2cWireModel* wire_;
    MpsseEngine engine_;
    uint8_t lowValue_ = 0, lowDirection_ = 0, highValue_ = 0, highDirection_ = 0;
    bool scl_ = true, sda_ = true; // the lines as last seen
    int heldWrites_ = 0;           // pin writes that have kept them as they are
    bool afterStart_ = false;      // SCL has not fallen since a START
    Bytes input_;                  // the start of a command still to arrive
    std::deque<uint8_t> answers_;
    std::set<std::string> violations_;

    // The target's side.
    Phase phase_ = Phase::Idle;
    bool targetLow_ = false; // the target pulls SDA low
    int bits_ = 0;
    uint8_t shift_ = 0;
    uint8_t address_ = 0;
    bool acked_ = false;
    bool masterAcked_ = false;
    uint8_t readByte_ = 0;
};

} // namespace rtd::host::ftdi

#endif

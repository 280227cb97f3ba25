// A bus between the engine and the chip model that turns one fault on at a chosen
// transfer: from call `k` on (counting writes and reads from 0), either the model is
// given a fault, or reads fail and writes vanish here on the way.
#ifndef RTD_TESTS_RELIABILITY_FAULTAFTERBUS_H
#define RTD_TESTS_RELIABILITY_FAULTAFTERBUS_H

#include <string>

#include "ChipModel.h"
#include "ForwardingBus.h"

namespace rtd::test {

enum class Fault {
    NoIsp,        // entries stop succeeding
    EraseBusy,    // erases never finish
    PageBusy,     // page programming never reports ready
    CrcRangeBusy, // the CRC range setup never clears
    CrcBusy,      // the CRC engine never finishes
    ReadFail,     // every read fails, buffer untouched
    DropWrites,   // every write is lost
    StuckBit,     // one flash byte per bank cannot be programmed
};

constexpr Fault kAllFaults[] = {Fault::NoIsp,        Fault::EraseBusy, Fault::PageBusy,
                                Fault::CrcRangeBusy, Fault::CrcBusy,   Fault::ReadFail,
                                Fault::DropWrites,   Fault::StuckBit};

const char* FaultName(Fault fault);
// "page-busy from transfer 12": one run of a matrix, for its failure messages.
std::string FaultFromTransfer(Fault fault, int k);

// The flash byte of each bank that the stuck-bit fault pins (to its erased 0xFF).
constexpr int kStuckAddress[2] = {0x0123, 0x0042};

class FaultAfterBus : public host::ForwardingBus {
public:
    FaultAfterBus(sim::ChipModel* chip, Fault fault, int k)
        : ForwardingBus(chip), chip_(chip), fault_(fault), k_(k) {}
    virtual ~FaultAfterBus() = default;

    bool IicWrite(uint8_t address, int count, const uint8_t* data) override;
    bool IicRead(uint8_t address, int count, uint8_t* data) override;

    // Transfers seen so far.
    int Calls() const { return calls_; }

private:
    // Counts the call and arms the fault when its turn has come; true while it is on.
    bool Tick();

    sim::ChipModel* chip_;
    Fault fault_;
    int k_;
    int calls_ = 0;
};

} // namespace rtd::test

#endif

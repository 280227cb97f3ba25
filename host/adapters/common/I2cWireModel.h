// The far end of the wires in a dry run. An adapter's protocol model decodes the bytes
// the host sent it into bus events (START, a byte out, bytes in, STOP) and plays them
// here; this class answers as a chip on the bus would (acknowledge bits, read bytes) and
// hands each complete transaction to the chip model as one IicWrite or IicRead.
//
// Faults, as --sim-fault takes them for model buses (transactions counted from 1 over
// the model's life, each START one):
//   nack-address      no address is acknowledged: nothing answers on the bus
//   nack-address=T    addresses are acknowledged up to transaction T-1 only
//   nack-data=T:B     in transaction T, data byte B (from 1) and the bytes after it are
//                     not acknowledged; the chip sees the write cut short
#ifndef RTD_HOST_ADAPTERS_COMMON_I2CWIREMODEL_H
#define RTD_HOST_ADAPTERS_COMMON_I2CWIREMODEL_H

#include <cstdint>
#include <string>
#include <vector>

#include "ChipModel.h"
#include "Faults.h"

namespace rtd::host {

class I2cWireModel {
public:
    explicit I2cWireModel(sim::ChipModel* chip) : chip_(chip) {}

    static bool Knows(const std::string& fault);
    // The faults above, as --help and the man page show them.
    static const std::vector<sim::FaultForm>& Forms();
    bool AddFault(const std::string& fault, std::string* error);

    // START, or a repeated START, which first ends the transaction under way.
    void Start();
    // One byte clocked out by the adapter: the address byte after a START, else data.
    // True when the chip acknowledged it.
    bool WriteByte(uint8_t byte);
    // `count` bytes clocked in. Bytes nobody drives read as 0xFF (the pull-ups).
    void ReadBytes(int count, uint8_t* data);
    void Stop();

    long Transactions() const { return transactions_; }
    // Bytes clocked out in the last transaction after one was not acknowledged: what the
    // adapter sent before it noticed.
    int BytesAfterRefusal() const { return afterRefusal_; }

private:
    // Whether the chip acknowledges `byte`, the address byte after a START, else data.
    bool Take(uint8_t byte);
    void Finish();

    sim::ChipModel* chip_;
    long transactions_ = 0;
    bool open_ = false; // between START and STOP
    bool haveAddress_ = false;
    bool acknowledged_ = false; // the address was
    bool cutShort_ = false;     // a data byte was not acknowledged
    bool refused_ = false;      // a byte, address or data, was not
    int afterRefusal_ = 0;
    uint8_t address_ = 0;
    std::vector<uint8_t> written_;

    bool nackAll_ = false;
    long nackFrom_ = 0;   // 0: never
    long nackDataAt_ = 0; // transaction, 0: never
    long nackDataByte_ = 0;
};

} // namespace rtd::host

#endif

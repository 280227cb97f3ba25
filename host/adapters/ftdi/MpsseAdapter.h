// An I2C adapter on an FTDI MPSSE engine over a byte link (libftdi, ftd2xx.dll, or the
// protocol model in a dry run). A read is one batch and one answer. A write goes in the
// encoder's chunks, each chunk's ACK bits read and checked before the next goes out: after
// a byte the target refused, at most the rest of its chunk is clocked, then the STOP.
#ifndef RTD_HOST_ADAPTERS_FTDI_MPSSEADAPTER_H
#define RTD_HOST_ADAPTERS_FTDI_MPSSEADAPTER_H

#include <string>
#include <vector>

#include "ByteLink.h"
#include "I2cAdapter.h"
#include "MpsseEncoder.h"

namespace rtd::host::ftdi {

class MpsseAdapter : public I2cAdapter {
public:
    // Bytes one transaction may carry: its answer (a byte per byte) must fit the
    // smallest receive buffer of the three chips (1 KiB, FT232H) while the commands are
    // still being written.
    static constexpr int kMaxTransfer = 512;
    // Data bytes a write chunk carries after the first (address and register). 32 keeps
    // a page write at 9 round trips (docs/PERFORMANCE.md has the cost of other sizes) and
    // what is clocked after a refused byte to 31 bytes.
    static constexpr int kWriteChunk = 32;

    // `link` must outlive the adapter. `name` is the --bus text ("ftdi:0:A").
    MpsseAdapter(ByteLink* link, FtdiChip chip, std::string name, int kHz)
        : link_(link), chip_(chip), name_(std::move(name)), kHz_(kHz) {}

    // Brings a freshly reset engine in step and sets it up for I2C. False, with a
    // one-line reason, when the adapter does not answer as an MPSSE does.
    bool Begin(std::string* error);

    AdapterCapabilities Capabilities() const override;
    bool Write(uint8_t address, const uint8_t* data, int count, std::string* error) override;
    bool Read(uint8_t address, uint8_t* data, int count, std::string* error) override;

private:
    bool Transact(const std::vector<I2cMessage>& messages, I2cOutcome* outcome, std::string* error);
    // Sends one request and reads its `answerBytes`; false, out of step, on a link failure.
    bool Exchange(const Bytes& commands, size_t answerBytes, Bytes* answer, std::string* error);
    bool Sync(std::string* error);

    ByteLink* link_;
    FtdiChip chip_;
    std::string name_;
    int kHz_;
    bool outOfStep_ = false; // a transfer failed: answers may be missing or left over
};

} // namespace rtd::host::ftdi

#endif

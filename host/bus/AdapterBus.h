// The plug-in's bus object over an I2cAdapter: each IicWrite/IicRead is one adapter
// transaction. A failed transfer returns false and is counted, the first reason kept;
// a failed read leaves the plug-in's buffer as it was (0xFF for a status read, which reads
// as "not ready" in every poll; the complement of the plug-in's CRC-8 for the CRC result,
// which never matches). After the command, one line names the first failure and the count.
#ifndef RTD_HOST_BUS_ADAPTERBUS_H
#define RTD_HOST_BUS_ADAPTERBUS_H

#include <functional>
#include <memory>
#include <string>

#include "HostBus.h"
#include "I2cAdapter.h"

namespace rtd::host {

class AdapterBus : public TIicInterface {
public:
    explicit AdapterBus(I2cAdapter* adapter) : adapter_(adapter) {}
    virtual ~AdapterBus() = default;

    bool IicWrite(uint8_t address, int count, const uint8_t* data) override;
    bool IicRead(uint8_t address, int count, uint8_t* data) override;

    int Failures() const { return failures_; }
    const std::string& FirstFailure() const { return firstFailure_; }
    // "<adapter>: 3 bus transfers failed; the first: write of 257 bytes at address 94:
    // not acknowledged at byte 101", or empty when none failed.
    std::string FailureSummary() const;

private:
    void Fail(bool read, uint8_t address, int count, const std::string& reason);

    I2cAdapter* adapter_;
    int failures_ = 0;
    std::string firstFailure_;
};

// A HostBus over an adapter it owns. `finish` runs after the failure line (a model's
// flash is saved there); `boardDone` is BoardDone. Either may be empty.
class AdapterHostBus : public HostBus {
public:
    AdapterHostBus(std::unique_ptr<I2cAdapter> adapter, std::function<bool(Reporter*)> finish = {},
                   std::function<void()> boardDone = {})
        : adapter_(std::move(adapter)), bus_(adapter_.get()), finish_(std::move(finish)),
          boardDone_(std::move(boardDone)) {}

    TIicInterface* Bus() override { return &bus_; }
    AdapterCapabilities Capabilities() const override { return adapter_->Capabilities(); }
    I2cAdapter& Adapter() override { return *adapter_; }
    int FailedTransfers() const override { return bus_.Failures(); }
    bool Finish(Reporter* reporter) override;
    void BoardDone() override {
        if (boardDone_)
            boardDone_();
    }

    const AdapterBus& Counted() const { return bus_; }

private:
    std::unique_ptr<I2cAdapter> adapter_;
    AdapterBus bus_;
    std::function<bool(Reporter*)> finish_;
    std::function<void()> boardDone_;
};

// "95" for 0x95: bus addresses as the trace writes them.
std::string HexByte(unsigned value);

} // namespace rtd::host

#endif

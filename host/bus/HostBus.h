// The bus the host hands to the plug-in, opened for one command and held for all of it:
// the chip model, a Linux i2c-dev adapter, a USB adapter, or a USB adapter's model.
#ifndef RTD_HOST_BUS_HOSTBUS_H
#define RTD_HOST_BUS_HOSTBUS_H

#include <cstdint>
#include <string>

#include "I2cAdapter.h"
#include "Reporter.h"
#include "rtd2120/rtd2120.h"

namespace rtd::host {

// What a harmless look at address 0x4A found: register 0x90 (ISP status) named with a
// one-byte write to 0x94, then one byte read from 0x95. Nothing on the chip changes.
struct ProbeResult {
    enum class Answer {
        Yes,    // both transfers acknowledged
        No,     // not acknowledged, or the adapter failed
        Unknown // the adapter cannot see acknowledge bits; `status` is what the bus read
    };
    Answer answer = Answer::No;
    uint8_t status = 0xFF;
    std::string reason; // why not, when answer is No

    // One line for `isphost buses`: "chip answers at 0x4A (status 00)", ...
    std::string Describe() const;
};

// The probe over any adapter.
ProbeResult ProbeChip(I2cAdapter& adapter);

class HostBus {
public:
    virtual ~HostBus() = default;
    // The object handed to the plug-in.
    virtual TIicInterface* Bus() = 0;
    virtual AdapterCapabilities Capabilities() const = 0;
    // The adapter under the bus object, for the harmless looks made outside the plug-in's
    // transfers (the probe below, the pre-flight): they are not counted as its failures.
    virtual I2cAdapter& Adapter() = 0;
    // How many of the plug-in's transfers the adapter reported as failed.
    virtual int FailedTransfers() const = 0;
    // The harmless look at 0x4A above.
    ProbeResult Probe() { return ProbeChip(Adapter()); }
    // After the command: saves a model's flash, reports adapter trouble in one line.
    // False when something the user asked for did not happen.
    virtual bool Finish(Reporter* reporter) = 0;
    // Station mode: the board on the bus is done and the operator takes it away. Only a
    // chip model acts on it (a simulated board swap, --sim-adapter swap=N).
    virtual void BoardDone() {}
};

} // namespace rtd::host

#endif

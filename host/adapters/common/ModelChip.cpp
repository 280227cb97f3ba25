#include "ModelChip.h"

#include <chrono>
#include <cstdio>

namespace rtd::host {

const std::vector<sim::FaultForm>& AdapterModelFaultForms() {
    // The link's faults as FaultyLink parses them (counted from 1, each "A" line one).
    static const std::vector<sim::FaultForm> forms = [] {
        std::vector<sim::FaultForm> rows = I2cWireModel::Forms();
        rows.push_back({"usb-fail=U", "usb-fail=3", "USB transfer U fails (a timeout)"});
        rows.push_back(
            {"unplug=U", "unplug=5", "USB transfer U and all after it fail: adapter gone"});
        return rows;
    }();
    return forms;
}

bool ModelChip::Setup(const BusOptions& options, I2cWireModel* wire, FaultyLink* link,
                      std::string* error) {
    for (const std::string& fault : options.simFaults) {
        std::string reason;
        bool ok;
        if (I2cWireModel::Knows(fault) || FaultyLink::Knows(fault)) {
            const bool onWire = I2cWireModel::Knows(fault);
            if (onWire ? !wire : !link) {
                *error = "--sim-fault " + fault + " applies to adapter models (--bus ch341:model)";
                return false;
            }
            ok = onWire ? wire->AddFault(fault, &reason) : link->AddFault(fault, &reason);
        } else {
            ok = chip_.AddFault(fault, &reason);
        }
        if (!ok) {
            *error = "--sim-fault " + fault + ": " + reason;
            return false;
        }
    }
    flashFile_ = options.simFlash;
    if (!flashFile_.empty()) {
        FileLock::Outcome outcome;
        lock_ = FileLock::Acquire(flashFile_, &outcome, error);
        if (outcome == FileLock::Outcome::Busy)
            *error = "bus busy: another isphost is using the simulated chip in " + flashFile_ +
                     " (one command at a time)";
        if (!lock_)
            return false;
        // A file just created is empty: the chip is blank, as for a missing file.
        if (!lock_->Created() && !chip_.LoadFlash(flashFile_, error))
            return false;
    }
    // Busy times in real milliseconds, as a chip's would be.
    const auto start = std::chrono::steady_clock::now();
    chip_.SetClock([start] {
        return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                         std::chrono::steady_clock::now() - start)
                                         .count());
    });
    return true;
}

ModelChip::~ModelChip() {
    if (lock_ && lock_->Created() && !saved_)
        std::remove(flashFile_.c_str()); // while still locked: no other host has it open
}

bool ModelChip::Finish(Reporter* reporter) {
    if (flashFile_.empty())
        return true;
    std::string error;
    if (chip_.SaveFlash(flashFile_, &error)) {
        saved_ = true;
        return true;
    }
    reporter->Error("cannot save the simulated flash: " + error);
    return false;
}

} // namespace rtd::host

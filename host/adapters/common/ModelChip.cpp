#include "ModelChip.h"

#include <chrono>
#include <cstdio>
#include <sys/stat.h>

#include "AtomicFile.h"

namespace rtd::host {

namespace {

// An empty flash file is what a run stopped right after creating it leaves.
bool IsEmptyFile(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && info.st_size == 0;
}

} // namespace

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
        // A file just created, or left empty by a run that was stopped, is a blank chip, as
        // for a missing file.
        fresh_ = lock_->Created() || IsEmptyFile(flashFile_);
        if (!fresh_ && !chip_.LoadFlash(flashFile_, error))
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
    if (fresh_ && !saved_)
        std::remove(flashFile_.c_str()); // while still locked: no other host has it open
}

bool ModelChip::Finish(Reporter* reporter) {
    if (flashFile_.empty())
        return true;
    // Whole or not at all: a failed save keeps the flash of the run before.
    AtomicFile file;
    std::string error;
    if (file.Open(flashFile_, &error)) {
        for (int bank = 0; bank < 2; ++bank)
            file.Write(chip_.Flash(bank).data(), chip_.Flash(bank).size());
        // Windows renames nothing over a file that is open, and the lock holds it open.
        lock_.reset();
        if (file.Commit(&error)) {
            saved_ = true;
            return true;
        }
    }
    reporter->Error("cannot save the simulated flash: " + error);
    return false;
}

} // namespace rtd::host

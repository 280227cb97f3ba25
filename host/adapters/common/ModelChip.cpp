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
    if (lock_ && fresh_ && !saved_)
        std::remove(flashFile_.c_str()); // while still locked: no other host has it open
}

bool ModelChip::Finish(Reporter* reporter) {
    if (flashFile_.empty())
        return true;
    // Whole or not at all: a failed save keeps the flash of the run before.
    std::vector<uint8_t> bytes = chip_.Flash(0);
    const std::vector<uint8_t>& bank1 = chip_.Flash(1);
    bytes.insert(bytes.end(), bank1.begin(), bank1.end());
    std::string error;
    if (WriteFileAtomically(flashFile_, bytes.data(), bytes.size(), &error)) {
        saved_ = true;
        return true;
    }
    reporter->Error("cannot save the simulated flash: " + error);
    return false;
}

} // namespace rtd::host

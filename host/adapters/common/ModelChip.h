// The chip model behind a dry run (--bus sim, or an adapter's model such as ch341:model):
// the --sim-fault faults, the --sim-flash file, busy times on a real clock.
#ifndef RTD_HOST_ADAPTERS_COMMON_MODELCHIP_H
#define RTD_HOST_ADAPTERS_COMMON_MODELCHIP_H

#include <memory>
#include <string>
#include <vector>

#include "BusOptions.h"
#include "ChipModel.h"
#include "FileLock.h"
#include "I2cWireModel.h"
#include "LinkFaults.h"
#include "Reporter.h"

namespace rtd::host {

// The faults an adapter model adds to the chip's: the wires' and the USB link's.
const std::vector<sim::FaultForm>& AdapterModelFaultForms();

class ModelChip {
public:
    ModelChip() = default;
    ModelChip(const ModelChip&) = delete;
    ModelChip& operator=(const ModelChip&) = delete;
    // A flash file this object created (or found empty) and never saved is removed, so that
    // no run leaves an empty flash file behind.
    ~ModelChip();

    // Sets the faults and loads the flash. Faults of the wires and of the USB link go to
    // `wire` and `link`; with those null (the plain chip model) they are refused. False,
    // with a one-line reason, on a fault that is not understood or an unreadable flash file,
    // or when another host holds the flash file ("bus busy: ..."): the file is locked
    // until this object goes.
    bool Setup(const BusOptions& options, I2cWireModel* wire, FaultyLink* link, std::string* error);
    // Saves the flash when a file was given; false (with a line to `reporter`) when it
    // cannot be saved.
    bool Finish(Reporter* reporter);

    sim::ChipModel& Chip() { return chip_; }

private:
    sim::ChipModel chip_;
    std::string flashFile_;
    std::unique_ptr<FileLock> lock_;
    bool fresh_ = false; // the file was created or empty: it holds no flash yet
    bool saved_ = false;
};

} // namespace rtd::host

#endif

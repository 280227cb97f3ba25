// The plug-in with recording host objects, its bus reaching one chip model: straight, or
// through a FaultAfterBus that starts a fault at a chosen transfer.
#ifndef RTD_TESTS_RELIABILITY_FAULTRUNFIXTURE_H
#define RTD_TESTS_RELIABILITY_FAULTRUNFIXTURE_H

#include <memory>

#include "ChipModel.h"
#include "FaultAfterBus.h"
#include "PluginFixture.h"
#include "Recorders.h"

namespace rtd::test {

class FaultRunFixture : public PluginFixture {
protected:
    FaultRunFixture() { HandOverAll(); }

    // A blank chip straight behind the bus; fresh events and list.
    void NewChip() {
        chip = std::make_unique<sim::ChipModel>();
        Reach(chip.get());
    }
    // A blank chip behind a bus that starts `fault` at transfer k; fresh events and list.
    void Arm(Fault fault, int k) {
        NewChip();
        faultBus = std::make_unique<FaultAfterBus>(chip.get(), fault, k);
        Reach(faultBus.get());
    }
    // The same chip, its faults gone, straight behind the bus; fresh events and list.
    void Heal() {
        chip->ClearFaults();
        Reach(chip.get());
    }

    std::unique_ptr<sim::ChipModel> chip;
    std::unique_ptr<FaultAfterBus> faultBus;
    std::unique_ptr<RecordingStrings> lines;

private:
    void Reach(TIicInterface* inner) {
        bus.SetInner(inner);
        events.clear();
        lines = std::make_unique<RecordingStrings>(&events);
        SetInfoList(lines.get());
    }
};

} // namespace rtd::test

#endif

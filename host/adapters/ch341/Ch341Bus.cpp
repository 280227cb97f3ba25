#include "Ch341Bus.h"

#include "AdapterBus.h"
#include "Ch341Adapter.h"
#include "Ch341Encoder.h"
#include "Ch341Model.h"
#include "CountingLink.h"
#include "ForwardingAdapter.h"
#include "I2cWireModel.h"
#include "LinkFaults.h"
#include "ModelChip.h"
#include "TracingLink.h"

namespace rtd::host::ch341 {

namespace {

bool IsIndex(const std::string& device, int* index) {
    if (device.empty()) {
        *index = 0;
        return true;
    }
    if (device.size() > 2 || device.find_first_not_of("0123456789") != std::string::npos)
        return false;
    *index = std::stoi(device);
    return *index <= kMaxIndex;
}

// Everything a dry run stands on, owned by the adapter the bus holds: the chip model,
// the wires, the adapter model, the USB counts, the link faults and the trace of its
// transfers.
class Ch341ModelAdapter : public ForwardingAdapter {
public:
    explicit Ch341ModelAdapter(Trace* trace)
        : ForwardingAdapter(&adapter_), wire_(&chip_.Chip()), model_(&wire_),
          counting_(&model_, kRoundTripSeconds), faulty_(&counting_), tracing_(&faulty_, trace),
          adapter_(&tracing_, "ch341:model") {}

    bool Setup(const BusOptions& options, std::string* error) {
        return chip_.Setup(options, &wire_, &faulty_, error) &&
               adapter_.SetSpeed(BusSpeedKhz(options), error);
    }
    // Saves the flash, and names packets a real adapter would not have taken.
    bool Finish(Reporter* reporter) {
        const bool saved = chip_.Finish(reporter);
        if (model_.FramingErrors() == 0)
            return saved;
        reporter->Error("ch341:model: " + std::to_string(model_.FramingErrors()) +
                        " packets a real CH341A would not take (framing errors)");
        return false;
    }
    const UsbCounts* Usb() const override { return &counting_.Counts(); }

private:
    ModelChip chip_;
    I2cWireModel wire_;
    Ch341Model model_;
    CountingLink counting_;
    FaultyLink faulty_;
    TracingLink tracing_;
    Ch341Adapter adapter_;
};

bool MatchesCh341Bus(const std::string& bus) {
    return BusName(bus) == "ch341";
}

bool CheckCh341Bus(const std::string& bus, std::string* error) {
    int index = 0;
    if (BusDevice(bus) == "model" || IsIndex(BusDevice(bus), &index))
        return true;
    *error = "--bus takes ch341, ch341:N (N from 0 to " + std::to_string(kMaxIndex) +
             ") or ch341:model, not '" + bus + "'";
    return false;
}

std::unique_ptr<HostBus> OpenCh341Bus(const BusSetup& setup, std::string* error) {
    if (BusDevice(setup.options.bus) == "model") {
        auto adapter = std::make_unique<Ch341ModelAdapter>(setup.trace);
        if (!adapter->Setup(setup.options, error))
            return nullptr;
        Ch341ModelAdapter* model = adapter.get();
        return std::make_unique<AdapterHostBus>(
            std::move(adapter), [model](Reporter* reporter) { return model->Finish(reporter); });
    }
    int index = 0;
    IsIndex(BusDevice(setup.options.bus), &index);
    return OpenCh341Device(index, BusSpeedKhz(setup.options), setup.trace, error);
}

} // namespace

const BusKind& Ch341BusKind() {
    static const BusKind kind = {
        "CH341A adapters", "ch341[:N], ch341:model", MatchesCh341Bus, CheckCh341Bus, SpeedsKhz(),
        OpenCh341Bus,      ListCh341Devices};
    return kind;
}

} // namespace rtd::host::ch341

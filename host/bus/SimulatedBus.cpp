#include "bus/SimulatedBus.h"

#include "bus/InterfaceAdapter.h"
#include "bus/ModelChip.h"

namespace rtd::host {

namespace {

class SimulatedBus : public HostBus {
public:
    bool Setup(const Options& options, std::string* error) {
        return model_.Setup(options, nullptr, nullptr, error);
    }

    TIicInterface* Bus() override { return &model_.Chip(); }
    AdapterCapabilities Capabilities() const override {
        AdapterCapabilities c;
        c.name = "sim";
        c.maxWrite = c.maxRead = 65535;
        c.plainI2c = c.seesAcknowledge = true;
        c.speedsKhz = {20, 100, 400, 750}; // the model has no clock to set; any is fine
        return c;
    }
    ProbeResult Probe() override {
        InterfaceAdapter adapter(&model_.Chip(), Capabilities());
        return ProbeChip(adapter);
    }
    bool Finish(Console* console) override { return model_.Finish(console); }

private:
    ModelChip model_;
};

} // namespace

std::unique_ptr<HostBus> OpenSimulatedBus(const BusSetup& setup, std::string* error) {
    auto bus = std::make_unique<SimulatedBus>();
    if (!bus->Setup(setup.options, error))
        return nullptr;
    return bus;
}

} // namespace rtd::host

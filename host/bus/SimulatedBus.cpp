#include "bus/SimulatedBus.h"

#include "bus/AdapterBus.h"
#include "bus/SimAdapter.h"

namespace rtd::host {

std::unique_ptr<HostBus> OpenSimulatedBus(const BusSetup& setup, std::string* error) {
    auto adapter = std::make_unique<SimAdapter>();
    if (!adapter->Setup(setup.options, error))
        return nullptr;
    ModelChip* model = &adapter->Model();
    return std::make_unique<AdapterHostBus>(
        std::move(adapter), [model](Console* console) { return model->Finish(console); });
}

} // namespace rtd::host

#include "bus/SimulatedBus.h"

#include "bus/AdapterBus.h"
#include "bus/SimAdapter.h"

namespace rtd::host {

std::unique_ptr<HostBus> OpenSimulatedBus(const BusSetup& setup, std::string* error) {
    auto adapter = std::make_unique<SimAdapter>();
    if (!adapter->Setup(setup.options, error))
        return nullptr;
    SimAdapter* sim = adapter.get();
    return std::make_unique<AdapterHostBus>(
        std::move(adapter), [sim](Console* console) { return sim->Model().Finish(console); },
        [sim] { sim->BoardDone(); });
}

} // namespace rtd::host

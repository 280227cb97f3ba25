#include "SimulatedBus.h"

#include "AdapterBus.h"
#include "SimAdapter.h"

namespace rtd::host {

namespace {

bool IsSim(const std::string& bus) {
    return bus == "sim";
}

std::unique_ptr<HostBus> OpenSimulatedBus(const BusSetup& setup, std::string* error) {
    auto adapter = std::make_unique<SimAdapter>();
    if (!adapter->Setup(setup.options, error))
        return nullptr;
    SimAdapter* sim = adapter.get();
    return std::make_unique<AdapterHostBus>(
        std::move(adapter), [sim](Reporter* reporter) { return sim->Model().Finish(reporter); },
        [sim] { sim->BoardDone(); });
}

} // namespace

const BusKind& SimBusKind() {
    static const BusKind kind = {"chip model",     "sim",  IsSim, AnyBusText, {},
                                 OpenSimulatedBus, nullptr};
    return kind;
}

} // namespace rtd::host

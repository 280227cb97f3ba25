#include "Mcp2221Bus.h"

#include "AdapterBus.h"
#include "ForwardingAdapter.h"
#include "I2cWireModel.h"
#include "LinkFaults.h"
#include "Mcp2221Adapter.h"
#include "Mcp2221Model.h"
#include "ModelChip.h"
#include "TracingLink.h"

namespace rtd::host::mcp2221 {

namespace {

constexpr int kMaxIndex = 15;

// A device's link under the adapter, traced.
class DeviceAdapter : public ForwardingAdapter {
public:
    DeviceAdapter(std::unique_ptr<ByteLink> link, const std::string& name, Trace* trace)
        : ForwardingAdapter(&adapter_), link_(std::move(link)), tracing_(link_.get(), trace),
          adapter_(&tracing_, name) {}
    bool Begin(int khz, std::string* error) { return adapter_.Begin(khz, error); }

private:
    std::unique_ptr<ByteLink> link_;
    TracingLink tracing_;
    Mcp2221Adapter adapter_;
};

// Everything a dry run stands on: the chip model, the wires, the adapter model, the link
// faults and the trace of its reports.
class ModelAdapter : public ForwardingAdapter {
public:
    explicit ModelAdapter(Trace* trace)
        : ForwardingAdapter(&adapter_), wire_(&chip_.Chip()), model_(&wire_), faulty_(&model_),
          tracing_(&faulty_, trace), adapter_(&tracing_, "mcp2221:model") {}

    bool Setup(const BusOptions& options, std::string* error) {
        // The engine's own faults go to the adapter model, the rest as for every model.
        BusOptions rest = options;
        rest.simFaults.clear();
        for (const std::string& fault : options.simFaults) {
            std::string reason;
            if (!Mcp2221Model::Knows(fault))
                rest.simFaults.push_back(fault);
            else if (!model_.AddFault(fault, &reason)) {
                *error = "--sim-fault " + fault + ": " + reason;
                return false;
            }
        }
        return chip_.Setup(rest, &wire_, &faulty_, error) &&
               adapter_.Begin(BusSpeedKhz(options), error);
    }
    bool Finish(Reporter* reporter) { return chip_.Finish(reporter); }

private:
    ModelChip chip_;
    I2cWireModel wire_;
    Mcp2221Model model_;
    FaultyLink faulty_;
    TracingLink tracing_;
    Mcp2221Adapter adapter_;
};

std::string DeviceName(int index) {
    return "mcp2221:" + std::to_string(index);
}

bool MatchesMcp2221Bus(const std::string& bus) {
    return BusName(bus) == "mcp2221";
}

bool CheckMcp2221Bus(const std::string& bus, std::string* error) {
    int index = 0;
    if (BusDevice(bus) == "model" || BusIndex(BusDevice(bus), kMaxIndex, &index))
        return true;
    *error = "--bus takes mcp2221, mcp2221:N (N from 0 to 15) or mcp2221:model, not '" + bus + "'";
    return false;
}

std::unique_ptr<HostBus> OpenMcp2221Bus(const BusSetup& setup, std::string* error) {
    if (BusDevice(setup.options.bus) == "model") {
        auto adapter = std::make_unique<ModelAdapter>(setup.trace);
        if (!adapter->Setup(setup.options, error))
            return nullptr;
        ModelAdapter* model = adapter.get();
        return std::make_unique<AdapterHostBus>(
            std::move(adapter), [model](Reporter* reporter) { return model->Finish(reporter); });
    }
    int index = 0;
    BusIndex(BusDevice(setup.options.bus), kMaxIndex, &index);
    return OpenMcp2221Device(SystemPorts(), index, BusSpeedKhz(setup.options), setup.trace, error);
}

std::unique_ptr<DeviceAdapter> OpenAdapter(Mcp2221Ports& ports, const HidPort& port, int index,
                                           int khz, Trace* trace, std::string* error) {
    std::unique_ptr<ByteLink> link = ports.Open(port, error);
    if (!link)
        return nullptr;
    auto adapter = std::make_unique<DeviceAdapter>(std::move(link), DeviceName(index), trace);
    if (!adapter->Begin(khz, error))
        return nullptr;
    return adapter;
}

std::vector<BusListing> ListSystemDevices(std::string* note) {
    return ListMcp2221Devices(SystemPorts(), note);
}

} // namespace

std::unique_ptr<HostBus> OpenMcp2221Device(Mcp2221Ports& ports, int index, int khz, Trace* trace,
                                           std::string* error) {
    std::string note;
    const std::vector<HidPort> found = ports.List(&note);
    if (index >= static_cast<int>(found.size())) {
        *error = note.empty() ? "no MCP2221A (USB 04d8:00dd) at index " + std::to_string(index) +
                                    ": plug it in (`isphost buses` lists what is attached)"
                              : note;
        return nullptr;
    }
    auto adapter = OpenAdapter(ports, found[static_cast<size_t>(index)], index, khz, trace, error);
    if (!adapter)
        return nullptr;
    return std::make_unique<AdapterHostBus>(std::move(adapter));
}

std::vector<BusListing> ListMcp2221Devices(Mcp2221Ports& ports, std::string* note) {
    const std::vector<HidPort> found = ports.List(note);
    std::vector<BusListing> listings;
    Trace untraced;
    for (size_t i = 0; i < found.size(); ++i) {
        const int index = static_cast<int>(i);
        std::string error;
        auto adapter = OpenAdapter(ports, found[i], index, 100, &untraced, &error);
        listings.push_back({DeviceName(index), found[i].what,
                            adapter ? ProbeChip(*adapter).Describe() : "cannot open: " + error});
    }
    if (found.empty() && note->empty())
        *note = "none (USB 04d8:00dd)";
    return listings;
}

const BusKind& Mcp2221BusKind() {
    static const BusKind kind = {"MCP2221A adapters", "mcp2221[:N], mcp2221:model",
                                 MatchesMcp2221Bus,   CheckMcp2221Bus,
                                 SpeedsKhz(),         OpenMcp2221Bus,
                                 ListSystemDevices};
    return kind;
}

} // namespace rtd::host::mcp2221

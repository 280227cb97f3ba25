#include "FtdiBus.h"

#include "AdapterBus.h"
#include "CountingLink.h"
#include "ForwardingAdapter.h"
#include "FtdiSelection.h"
#include "FtdiUsbTiming.h"
#include "LinkFaults.h"
#include "ModelChip.h"
#include "MpsseAdapter.h"
#include "MpsseModel.h"
#include "TracingLink.h"

namespace rtd::host::ftdi {

namespace {

// An MPSSE adapter over its link, counted and traced; the link is a device's transport
// or, in a dry run, the MPSSE model over the wire and chip models, behind the USB fault
// decorator (which passes everything on when no fault is set).
class FtdiAdapter : public ForwardingAdapter {
public:
    // A device.
    FtdiAdapter(std::unique_ptr<ByteLink> device, FtdiChip chip, const std::string& name,
                Trace* trace, int kHz)
        : FtdiAdapter(nullptr, std::move(device), chip, name, trace, kHz) {}
    // The model, named by its --bus text.
    FtdiAdapter(FtdiChip chip, const std::string& name, Trace* trace, int kHz)
        : FtdiAdapter(std::make_unique<Model>(chip), nullptr, chip, name, trace, kHz) {}

    // Faults and flash (the model only), then the engine's set-up.
    bool Begin(const BusOptions* options, std::string* error) {
        if (model_ && !model_->chip.Setup(*options, &model_->wire, &faulty_, error))
            return false;
        return mpsse_.Begin(error);
    }
    // The model only: saves its flash, and names what its commands did wrong on the bus.
    bool Finish(Reporter* reporter) {
        bool ok = model_->chip.Finish(reporter);
        for (const std::string& violation : model_->mpsse.Violations()) {
            reporter->Error(name_ + ": the commands would misbehave on a real bus: " + violation);
            ok = false;
        }
        return ok;
    }
    const UsbCounts* Usb() const override { return &counting_.Counts(); }

private:
    struct Model {
        explicit Model(FtdiChip type) : wire(&chip.Chip()), mpsse(type, &wire) {}
        ModelChip chip;
        I2cWireModel wire;
        MpsseModel mpsse;
    };
    FtdiAdapter(std::unique_ptr<Model> model, std::unique_ptr<ByteLink> device, FtdiChip chip,
                const std::string& name, Trace* trace, int kHz)
        : ForwardingAdapter(&mpsse_), model_(std::move(model)), device_(std::move(device)),
          counting_(model_ ? &model_->mpsse : device_.get(), kRoundTripSeconds,
                    kLatencyTimerMs / 1000.0, AnswersAtOnce),
          faulty_(&counting_), traced_(&faulty_, trace), mpsse_(&traced_, chip, name, kHz),
          name_(name) {}

    std::unique_ptr<Model> model_;
    std::unique_ptr<ByteLink> device_;
    CountingLink counting_;
    FaultyLink faulty_;
    TracingLink traced_;
    MpsseAdapter mpsse_;
    std::string name_;
};

std::unique_ptr<FtdiAdapter> OpenDevice(const FtdiSelection& selection, Trace* trace, int kHz,
                                        std::string* error) {
    FtdiChip chip = FtdiChip::Ft232h;
    std::string name;
    std::unique_ptr<ByteLink> link = OpenFtdiLink(selection, &chip, &name, error);
    if (!link)
        return nullptr;
    auto adapter = std::make_unique<FtdiAdapter>(std::move(link), chip, name, trace, kHz);
    if (!adapter->Begin(nullptr, error))
        return nullptr;
    return adapter;
}

bool MatchesFtdiBus(const std::string& bus) {
    return BusName(bus) == "ftdi" && bus.find('/') == std::string::npos;
}

bool CheckFtdiBus(const std::string& bus, std::string* error) {
    FtdiSelection selection;
    return ParseFtdiSelection(BusDevice(bus), &selection, error);
}

std::unique_ptr<HostBus> OpenFtdiBus(const BusSetup& setup, std::string* error) {
    FtdiSelection selection;
    if (!ParseFtdiSelection(BusDevice(setup.options.bus), &selection, error))
        return nullptr;
    const int kHz = BusSpeedKhz(setup.options);
    if (!selection.model) {
        auto device = OpenDevice(selection, setup.trace, kHz, error);
        if (!device)
            return nullptr;
        return std::make_unique<AdapterHostBus>(std::move(device));
    }
    auto model =
        std::make_unique<FtdiAdapter>(selection.modelChip, setup.options.bus, setup.trace, kHz);
    if (!model->Begin(&setup.options, error))
        return nullptr;
    FtdiAdapter* adapter = model.get();
    return std::make_unique<AdapterHostBus>(
        std::move(model), [adapter](Reporter* reporter) { return adapter->Finish(reporter); });
}

std::vector<BusListing> ListFtdiBuses(std::string* note) {
    const std::vector<FtdiDevice> devices = ListFtdiDevices(note);
    std::vector<BusListing> listings;
    Trace untraced;
    for (size_t i = 0; i < devices.size(); ++i) {
        const FtdiDevice& d = devices[i];
        for (int channel = 0; channel < MpsseInterfaces(d.chip); ++channel) {
            FtdiSelection selection;
            selection.index = static_cast<int>(i);
            selection.channel = channel;
            BusListing l;
            l.bus = FtdiBusName(selection.index, channel);
            l.what = std::string(ChipName(d.chip)) +
                     (d.description.empty() ? "" : " \"" + d.description + "\"") +
                     (d.serial.empty() ? "" : " serial " + d.serial);
            std::string error;
            auto adapter = OpenDevice(selection, &untraced, 100, &error);
            l.answer = adapter ? ProbeChip(*adapter).Describe() : "cannot open: " + error;
            listings.push_back(l);
        }
    }
    if (devices.empty() && note->empty())
        *note = "none attached";
    return listings;
}

} // namespace

const BusKind& FtdiBusKind() {
    static const BusKind kind = {"FTDI MPSSE adapters (FT232H, FT2232H, FT4232H)",
                                 "ftdi[:N|SERIAL][:A-D], ftdi:model[:CHIP]",
                                 MatchesFtdiBus,
                                 CheckFtdiBus,
                                 MpsseSpeedsKhz(),
                                 OpenFtdiBus,
                                 ListFtdiBuses};
    return kind;
}

} // namespace rtd::host::ftdi

#include "FtdiBus.h"

#include "AdapterBus.h"
#include "ForwardingAdapter.h"
#include "FtdiSelection.h"
#include "ModelChip.h"
#include "MpsseAdapter.h"
#include "MpsseModel.h"
#include "TracingLink.h"

namespace rtd::host::ftdi {

namespace {

// An MPSSE adapter over its link, traced; the link is a device's transport or, in a dry
// run, the MPSSE model behind the USB fault decorator, over the wire and chip models.
class FtdiAdapter : public ForwardingAdapter {
public:
    // A device.
    FtdiAdapter(std::unique_ptr<ByteLink> device, FtdiChip chip, const std::string& name,
                Trace* trace, int kHz)
        : ForwardingAdapter(&mpsse_), device_(std::move(device)), traced_(device_.get(), trace),
          mpsse_(&traced_, chip, name, kHz) {}
    // The model, named by its --bus text.
    FtdiAdapter(FtdiChip chip, const std::string& name, Trace* trace, int kHz)
        : ForwardingAdapter(&mpsse_), model_(std::make_unique<Model>(chip)),
          traced_(&model_->faulty, trace), mpsse_(&traced_, chip, name, kHz) {}

    // Faults and flash (the model only), then the engine's set-up.
    bool Begin(const BusOptions* options, std::string* error) {
        if (model_ && !model_->chip.Setup(*options, &model_->wire, &model_->faulty, error))
            return false;
        return mpsse_.Begin(error);
    }
    ModelChip* Chip() { return model_ ? &model_->chip : nullptr; }

private:
    struct Model {
        explicit Model(FtdiChip type) : wire(&chip.Chip()), mpsse(type, &wire), faulty(&mpsse) {}
        ModelChip chip;
        I2cWireModel wire;
        MpsseModel mpsse;
        FaultyLink faulty;
    };
    std::unique_ptr<Model> model_;
    std::unique_ptr<ByteLink> device_;
    TracingLink traced_;
    MpsseAdapter mpsse_;
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
    ModelChip* chip = model->Chip();
    return std::make_unique<AdapterHostBus>(
        std::move(model), [chip](Reporter* reporter) { return chip->Finish(reporter); });
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

#include "HostBus.h"

#include <chrono>

#include "ChipModel.h"

#if defined(__linux__)
#include "linux/I2cDevBus.h"
#endif

namespace rtd::host {

namespace {

class SimulatedBus : public HostBus {
public:
    explicit SimulatedBus(std::string flashFile) : flashFile_(std::move(flashFile)) {}

    bool Setup(const Options& options, std::string* error) {
        for (const std::string& fault : options.simFaults) {
            std::string reason;
            if (!chip_.AddFault(fault, &reason)) {
                *error = "--sim-fault " + fault + ": " + reason;
                return false;
            }
        }
        if (!flashFile_.empty() && !chip_.LoadFlash(flashFile_, error))
            return false;
        // Busy times in real milliseconds, as a chip's would be.
        const auto start = std::chrono::steady_clock::now();
        chip_.SetClock([start] {
            return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                             std::chrono::steady_clock::now() - start)
                                             .count());
        });
        return true;
    }

    TIicInterface* Bus() override { return &chip_; }

    bool Finish(Console* console) override {
        if (flashFile_.empty())
            return true;
        std::string error;
        if (chip_.SaveFlash(flashFile_, &error))
            return true;
        console->Error("cannot save the simulated flash: " + error);
        return false;
    }

private:
    sim::ChipModel chip_;
    std::string flashFile_;
};

#if defined(__linux__)
class AdapterBus : public HostBus {
public:
    explicit AdapterBus(std::unique_ptr<I2cDevBus> device) : device_(std::move(device)) {}

    TIicInterface* Bus() override { return device_.get(); }

    bool Finish(Console* console) override {
        const int failures = device_->Failures();
        if (failures > 1)
            console->Error(std::to_string(failures) + " bus transfers failed in all");
        return true; // the plug-in's result already tells whether the chip answered
    }

private:
    std::unique_ptr<I2cDevBus> device_;
};
#endif

} // namespace

std::unique_ptr<HostBus> CreateHostBus(const Options& options, Console* console,
                                       std::string* error) {
    if (UsesSimulatedBus(options)) {
        auto bus = std::make_unique<SimulatedBus>(options.simFlash);
        if (!bus->Setup(options, error))
            return nullptr;
        return bus;
    }
#if defined(__linux__)
    auto device = I2cDevBus::Open(options.bus, RealI2cDevSystem(), error);
    if (!device)
        return nullptr;
    device->SetOnFirstFailure([console](const std::string& reason) { console->Error(reason); });
    return std::make_unique<AdapterBus>(std::move(device));
#else
    (void)console;
    *error = "adapter buses (" + options.bus + ") are supported on Linux only; use --bus sim";
    return nullptr;
#endif
}

} // namespace rtd::host

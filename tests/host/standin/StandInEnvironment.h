// What a stand-in adapter library (the DLLs here, the libusb of tests/host/usb) reads from
// the environment, one mechanism for all of them (PREFIX is the adapter's, e.g.
// "RTD_CH341_MODEL_"):
//   PREFIX + DEVICES  how many adapters are attached (the stand-in's default otherwise)
//   PREFIX + FLASH    the chip's flash file: loaded when a device opens, saved when it closes
//   PREFIX + FAULTS   faults as --sim-fault takes them, separated by commas
#ifndef RTD_TESTS_HOST_STANDIN_STANDINENVIRONMENT_H
#define RTD_TESTS_HOST_STANDIN_STANDINENVIRONMENT_H

#include <string>
#include <vector>

#include "BusOptions.h"
#include "Reporter.h"

namespace rtd::host::standin {

std::string Env(const std::string& name);
// "a,b,c" as {"a", "b", "c"}.
std::vector<std::string> SplitList(const std::string& text);
// The flash file and the faults, as a model bus takes them from the command line.
BusOptions ModelOptions(const std::string& prefix);
unsigned long Devices(const std::string& prefix, unsigned long fallback);

// Where a model's failure to save its flash goes: stderr, as isphost would show it.
class StderrReporter : public Reporter {
public:
    void Error(const std::string& text) override;
};

} // namespace rtd::host::standin

#endif

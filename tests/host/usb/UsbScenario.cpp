#include "UsbScenario.h"

#include <fstream>
#include <iostream>

#include "LinkFaults.h"
#include "StandInEnvironment.h"

namespace rtd::host::usb {

namespace {

constexpr char kPrefix[] = "RTD_USB_MODEL_";

UsbScenario Read() {
    UsbScenario s;
    const std::string attached = standin::Env(std::string(kPrefix) + "ATTACHED");
    for (const std::string& name :
         standin::SplitList(attached.empty() ? "ch341,ft232h,ft2232h" : attached)) {
        if (name == "ch341")
            s.attached.push_back(DeviceKind::Ch341);
        else if (name == "ft232h")
            s.attached.push_back(DeviceKind::Ft232h);
        else if (name == "ft2232h")
            s.attached.push_back(DeviceKind::Ft2232h);
        else
            std::cerr << "libusb stand-in: no device kind '" << name << "'\n";
    }
    const BusOptions given = standin::ModelOptions(kPrefix);
    s.model.simFlash = given.simFlash;
    for (const std::string& fault : given.simFaults) {
        if (fault == "open-denied")
            s.openDenied = true;
        else if (fault == "claimed")
            s.claimedElsewhere = true;
        else if (fault == "kernel-driver")
            s.kernelDriver = true;
        else if (fault.rfind("usb-short=", 0) == 0 &&
                 ParseFaultCount(fault.substr(10), &s.shortTransfer))
            continue;
        else
            s.model.simFaults.push_back(fault);
    }
    s.log = standin::Env(std::string(kPrefix) + "LOG");
    return s;
}

} // namespace

const UsbScenario& Scenario() {
    static const UsbScenario scenario = Read();
    return scenario;
}

void Record(const std::string& line) {
    if (!Scenario().log.empty())
        std::ofstream(Scenario().log, std::ios::app) << line << '\n';
}

} // namespace rtd::host::usb

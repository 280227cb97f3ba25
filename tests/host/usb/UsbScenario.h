// What the stand-in libusb-1.0 presents, read from the environment once per process
// (standin/StandInEnvironment.h has the shared FLASH and FAULTS variables):
//   RTD_USB_MODEL_ATTACHED  the devices on the bus, in order, separated by commas, from
//                           ch341 (1a86:5512), ft232h (0403:6014), ft2232h (0403:6010);
//                           all three when unset
//   RTD_USB_MODEL_FLASH     the chip's flash file, loaded when an interface is claimed and
//                           saved when it is released
//   RTD_USB_MODEL_FAULTS    --sim-fault faults, plus the USB stack's own:
//                             open-denied    libusb_open fails with LIBUSB_ERROR_ACCESS
//                             claimed        another process holds the interface (BUSY)
//                             kernel-driver  a kernel driver is bound to every interface
//                             usb-short=U    bulk transfer U moves half its bytes
//   RTD_USB_MODEL_LOG       a file that gets one line per open, close, claim, release and
//                           kernel driver detach or attach, in the order they happen
#ifndef RTD_TESTS_HOST_USB_USBSCENARIO_H
#define RTD_TESTS_HOST_USB_USBSCENARIO_H

#include <string>
#include <vector>

#include "BusOptions.h"

namespace rtd::host::usb {

enum class DeviceKind { Ch341, Ft232h, Ft2232h };

struct UsbScenario {
    std::vector<DeviceKind> attached;
    bool openDenied = false;
    bool claimedElsewhere = false;
    bool kernelDriver = false;
    long shortTransfer = 0; // 0: none
    BusOptions model;       // the flash file and the faults the models take
    std::string log;
};

const UsbScenario& Scenario();
// Appends `line` to the log, when there is one.
void Record(const std::string& line);

} // namespace rtd::host::usb

#endif

// One claimed interface of a stand-in USB device: the adapter's protocol model (CH341A or
// MPSSE engine) behind the USB fault decorator, the wire model and the chip model. Bulk
// transfers come here as libusb hands them over and leave with libusb's status codes.
#ifndef RTD_TESTS_HOST_USB_MODELINTERFACE_H
#define RTD_TESTS_HOST_USB_MODELINTERFACE_H

#include <cstdint>
#include <deque>
#include <memory>
#include <string>

#include "I2cWireModel.h"
#include "LinkFaults.h"
#include "ModelChip.h"
#include "UsbScenario.h"

namespace rtd::host::usb {

class ModelInterface {
public:
    // Null, with the reason on stderr, when the scenario's flash or faults are refused.
    static std::unique_ptr<ModelInterface> Claim(DeviceKind kind);
    // Saves the flash.
    ~ModelInterface();

    int Out(const uint8_t* data, int length, int* actual);
    int In(uint8_t* data, int length, int* actual);
    // Answers not yet read are dropped (an FTDI receive buffer purge).
    void Purge();
    // A transfer found the device gone.
    bool Gone() const { return gone_; }

private:
    ModelInterface(DeviceKind kind);
    // The libusb status of a transfer the decorator or the model failed.
    int Failure(const std::string& error);
    bool ShortNow();

    ModelChip chip_;
    I2cWireModel wire_;
    std::unique_ptr<ByteLink> model_;
    FaultyLink faulty_;
    std::deque<uint8_t> answers_; // read from the model, not yet handed over
    long transfers_ = 0;
    bool gone_ = false;
};

} // namespace rtd::host::usb

#endif

#include "ModelInterface.h"

#include <iostream>

#include <libusb.h>

#include "Ch341Model.h"
#include "MpsseModel.h"
#include "StandInEnvironment.h"

namespace rtd::host::usb {

namespace {

std::unique_ptr<ByteLink> ProtocolModel(DeviceKind kind, I2cWireModel* wire) {
    if (kind == DeviceKind::Ch341)
        return std::make_unique<ch341::Ch341Model>(wire);
    return std::make_unique<ftdi::MpsseModel>(
        kind == DeviceKind::Ft232h ? ftdi::FtdiChip::Ft232h : ftdi::FtdiChip::Ft2232h, wire);
}

} // namespace

ModelInterface::ModelInterface(DeviceKind kind)
    : wire_(&chip_.Chip()), model_(ProtocolModel(kind, &wire_)), faulty_(model_.get()) {}

std::unique_ptr<ModelInterface> ModelInterface::Claim(DeviceKind kind) {
    std::unique_ptr<ModelInterface> i(new ModelInterface(kind));
    std::string error;
    if (!i->chip_.Setup(Scenario().model, &i->wire_, &i->faulty_, &error)) {
        std::cerr << "libusb stand-in: " << error << '\n';
        return nullptr;
    }
    return i;
}

ModelInterface::~ModelInterface() {
    standin::StderrReporter reporter;
    chip_.Finish(&reporter);
}

bool ModelInterface::ShortNow() {
    return ++transfers_ == Scenario().shortTransfer;
}

int ModelInterface::Failure(const std::string& error) {
    if (error.find("No such device") != std::string::npos) {
        gone_ = true;
        return LIBUSB_ERROR_NO_DEVICE;
    }
    return error.find("timed out") != std::string::npos ? LIBUSB_ERROR_TIMEOUT : LIBUSB_ERROR_IO;
}

int ModelInterface::Out(const uint8_t* data, int length, int* actual) {
    *actual = 0;
    const int moved = ShortNow() ? length / 2 : length;
    std::string error;
    if (!faulty_.Send(std::vector<uint8_t>(data, data + moved), &error))
        return Failure(error);
    *actual = moved;
    return 0;
}

// What the model has answered, up to `length` (a short packet ends a bulk read); the rest
// of a short transfer comes with the next.
int ModelInterface::In(uint8_t* data, int length, int* actual) {
    *actual = 0;
    if (answers_.empty()) {
        std::vector<uint8_t> got;
        std::string error;
        if (!faulty_.Receive(static_cast<size_t>(length), &got, &error) && got.empty())
            return Failure(error);
        answers_.assign(got.begin(), got.end());
    }
    size_t n = std::min(answers_.size(), static_cast<size_t>(length));
    if (ShortNow())
        n = (n + 1) / 2;
    std::copy(answers_.begin(), answers_.begin() + static_cast<std::ptrdiff_t>(n), data);
    answers_.erase(answers_.begin(), answers_.begin() + static_cast<std::ptrdiff_t>(n));
    *actual = static_cast<int>(n);
    return 0;
}

void ModelInterface::Purge() {
    answers_.clear();
    std::vector<uint8_t> drop;
    std::string error;
    model_->Receive(1 << 16, &drop, &error);
}

} // namespace rtd::host::usb

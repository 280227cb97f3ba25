// A stand-in for the CH341A maker's CH341DLL.DLL, built from its published function
// signatures so that the Windows tests can run isphost's DLL transport under wine. Behind
// it: the CH341A encoder and adapter model, and the chip model. Like the real DLL it
// reports only whether the USB side worked, never an acknowledge bit.
//
// Environment, read when a device is opened: RTD_CH341_MODEL_DEVICES (default 1),
// RTD_CH341_MODEL_FLASH and RTD_CH341_MODEL_FAULTS (standin/StandInEnvironment.h).
#include <algorithm>
#include <iostream>
#include <map>
#include <memory>
#include <string>

#include <windows.h>

#include "Ch341Adapter.h"
#include "Ch341Encoder.h"
#include "Ch341Model.h"
#include "I2cWireModel.h"
#include "LinkFaults.h"
#include "ModelChip.h"
#include "StandInEnvironment.h"

namespace {

using namespace rtd::host;

constexpr char kPrefix[] = "RTD_CH341_MODEL_";

struct Device {
    Device() : wire(&chip.Chip()), model(&wire), faulty(&model), adapter(&faulty, "stand-in") {}
    ModelChip chip;
    I2cWireModel wire;
    ch341::Ch341Model model;
    FaultyLink faulty;
    ch341::Ch341Adapter adapter;
};

std::map<ULONG, std::unique_ptr<Device>>& Devices() {
    static std::map<ULONG, std::unique_ptr<Device>> devices;
    return devices;
}

Device* Find(ULONG index) {
    auto it = Devices().find(index);
    return it == Devices().end() ? nullptr : it->second.get();
}

} // namespace

extern "C" {

HANDLE WINAPI CH341OpenDevice(ULONG index) {
    if (index >= standin::Devices(kPrefix, 1))
        return INVALID_HANDLE_VALUE;
    if (!Find(index)) {
        const BusOptions options = standin::ModelOptions(kPrefix);
        auto device = std::make_unique<Device>();
        std::string error;
        if (!device->chip.Setup(options, &device->wire, &device->faulty, &error))
            return INVALID_HANDLE_VALUE;
        Devices()[index] = std::move(device);
    }
    return reinterpret_cast<HANDLE>(static_cast<uintptr_t>(index) + 1);
}

VOID WINAPI CH341CloseDevice(ULONG index) {
    if (Device* d = Find(index)) {
        standin::StderrReporter reporter;
        d->chip.Finish(&reporter);
        Devices().erase(index);
    }
}

BOOL WINAPI CH341SetStream(ULONG index, ULONG mode) {
    Device* d = Find(index);
    std::string error;
    return d && d->adapter.SetSpeed(ch341::SpeedsKhz()[mode & 3], &error);
}

// One write, or one byte written and then a read from that address byte; the plug-in's
// transfers are all one or the other.
BOOL WINAPI CH341StreamI2C(ULONG index, ULONG writeLength, PVOID writeBuffer, ULONG readLength,
                           PVOID readBuffer) {
    Device* d = Find(index);
    if (!d || writeLength == 0 || (readLength && writeLength != 1))
        return FALSE;
    const auto* out = static_cast<const uint8_t*>(writeBuffer);
    std::string error;
    if (readLength)
        d->adapter.Read(static_cast<uint8_t>(out[0] | 1), static_cast<uint8_t*>(readBuffer),
                        static_cast<int>(readLength), &error);
    else
        d->adapter.Write(out[0], out + 1, static_cast<int>(writeLength - 1), &error);
    return !d->adapter.LinkFailed();
}

} // extern "C"

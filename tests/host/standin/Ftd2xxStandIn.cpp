// A stand-in for FTDI's D2XX driver DLL, ftd2xx.dll, built from its published function
// signatures so that the Windows tests can run isphost's D2XX transport under wine.
// Behind each opened interface: the MPSSE protocol model, the USB fault decorator, the
// wire model and the chip model. It lists an FT232H (serial FT000001) and an FT2232H
// (FT000002, interfaces A and B), or the first RTD_FTDI_MODEL_DEVICES of those entries;
// RTD_FTDI_MODEL_FLASH and RTD_FTDI_MODEL_FAULTS as in standin/StandInEnvironment.h.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <iostream>
#include <map>
#include <memory>
#include <string>

#include "D2xx.h"
#include "I2cWireModel.h"
#include "LinkFaults.h"
#include "ModelChip.h"
#include "MpsseModel.h"
#include "StandInEnvironment.h"

namespace {

using namespace rtd::host;
using namespace rtd::host::ftdi::d2xx;
using rtd::host::ftdi::FtdiChip;

constexpr char kPrefix[] = "RTD_FTDI_MODEL_";

const struct Entry {
    Dword type;
    FtdiChip chip;
    const char* serial;
    const char* description;
} kEntries[] = {
    {kType232H, FtdiChip::Ft232h, "FT000001", "Single RS232-HS"},
    {kType2232H, FtdiChip::Ft2232h, "FT000002A", "Dual RS232-HS A"},
    {kType2232H, FtdiChip::Ft2232h, "FT000002B", "Dual RS232-HS B"},
};

Dword Attached() {
    return std::min<Dword>(standin::Devices(kPrefix, 3), 3);
}

struct Device {
    explicit Device(FtdiChip chip) : wire(&chip_.Chip()), model(chip, &wire), faulty(&model) {}
    ModelChip chip_;
    I2cWireModel wire;
    ftdi::MpsseModel model;
    FaultyLink faulty;
};

std::map<Handle, std::unique_ptr<Device>>& Devices() {
    static std::map<Handle, std::unique_ptr<Device>> devices;
    return devices;
}

Device* Find(Handle handle) {
    auto it = Devices().find(handle);
    return it == Devices().end() ? nullptr : it->second.get();
}

// A pulled plug reads as a device that is gone, any other failed transfer as I/O error.
Status Failed(const std::string& error) {
    return error.find("No such device") != std::string::npos ? kDeviceNotFound : kIoError;
}

} // namespace

extern "C" {

Status WINAPI FT_CreateDeviceInfoList(Dword* count) {
    *count = Attached();
    return kOk;
}

Status WINAPI FT_GetDeviceInfoDetail(Dword index, Dword* flags, Dword* type, Dword* id,
                                     Dword* locationId, char* serial, char* description,
                                     Handle* handle) {
    if (index >= Attached())
        return kDeviceNotFound;
    const Entry& e = kEntries[index];
    *flags = 2; // high speed, not open
    *type = e.type;
    *id = 0x04036014;
    *locationId = 0x11 + index;
    std::strcpy(serial, e.serial);
    std::strcpy(description, e.description);
    *handle = nullptr;
    return kOk;
}

Status WINAPI FT_Open(int index, Handle* handle) {
    if (index < 0 || static_cast<Dword>(index) >= Attached())
        return kDeviceNotFound;
    auto device = std::make_unique<Device>(kEntries[index].chip);
    std::string error;
    if (!device->chip_.Setup(standin::ModelOptions(kPrefix), &device->wire, &device->faulty,
                             &error)) {
        std::cerr << "ftd2xx stand-in: " << error << "\n";
        return kInvalidParameter;
    }
    *handle = device.get();
    Devices()[*handle] = std::move(device);
    return kOk;
}

Status WINAPI FT_Close(Handle handle) {
    Device* d = Find(handle);
    if (!d)
        return kInvalidHandle;
    standin::StderrReporter reporter;
    d->chip_.Finish(&reporter);
    Devices().erase(handle);
    return kOk;
}

Status WINAPI FT_ResetDevice(Handle handle) {
    return Find(handle) ? kOk : kInvalidHandle;
}

Status WINAPI FT_SetUSBParameters(Handle handle, Dword, Dword) {
    return Find(handle) ? kOk : kInvalidHandle;
}

Status WINAPI FT_SetLatencyTimer(Handle handle, unsigned char) {
    return Find(handle) ? kOk : kInvalidHandle;
}

Status WINAPI FT_SetBitMode(Handle handle, unsigned char, unsigned char) {
    return Find(handle) ? kOk : kInvalidHandle;
}

Status WINAPI FT_Purge(Handle handle, Dword mask) {
    Device* d = Find(handle);
    if (!d)
        return kInvalidHandle;
    if (mask & kPurgeRx) {
        std::vector<uint8_t> drop(d->model.Pending());
        d->model.Read(drop.data(), drop.size());
    }
    return kOk;
}

Status WINAPI FT_Write(Handle handle, void* buffer, Dword size, Dword* written) {
    Device* d = Find(handle);
    *written = 0;
    if (!d)
        return kInvalidHandle;
    const auto* bytes = static_cast<const uint8_t*>(buffer);
    std::string error;
    if (!d->faulty.Send(std::vector<uint8_t>(bytes, bytes + size), &error))
        return Failed(error);
    *written = size;
    return kOk;
}

Status WINAPI FT_GetQueueStatus(Handle handle, Dword* queued) {
    Device* d = Find(handle);
    if (!d)
        return kInvalidHandle;
    *queued = static_cast<Dword>(d->model.Pending());
    return kOk;
}

Status WINAPI FT_Read(Handle handle, void* buffer, Dword size, Dword* read) {
    Device* d = Find(handle);
    *read = 0;
    if (!d)
        return kInvalidHandle;
    std::vector<uint8_t> data;
    std::string error;
    if (!d->faulty.Receive(size, &data, &error) && data.empty())
        return Failed(error);
    std::memcpy(buffer, data.data(), data.size());
    *read = static_cast<Dword>(data.size());
    return kOk;
}

} // extern "C"

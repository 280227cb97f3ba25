#include "D2xxLink.h"
#include "FtdiBus.h"

#include <windows.h>

#include <array>
#include <chrono>
#include <thread>

#include "DynamicLibrary.h"
#include "FtdiUsbTiming.h"

namespace rtd::host::ftdi {

using namespace d2xx;

struct D2xxApi {
    std::unique_ptr<DynamicLibrary> library;
    CreateDeviceInfoListFn createDeviceInfoList = nullptr;
    GetDeviceInfoDetailFn getDeviceInfoDetail = nullptr;
    OpenFn open = nullptr;
    ResetDeviceFn resetDevice = nullptr;
    SetUsbParametersFn setUsbParameters = nullptr;
    SetLatencyTimerFn setLatencyTimer = nullptr;
    SetBitModeFn setBitMode = nullptr;
    PurgeFn purge = nullptr;
    WriteFn write = nullptr;
    ReadFn read = nullptr;
    GetQueueStatusFn getQueueStatus = nullptr;
    CloseFn close = nullptr;
};

namespace {

constexpr int kReadTimeoutMs = 1000;
constexpr Dword kUsbBufferSize = 65536;
const char kInstall[] = "install FTDI's D2XX driver for the adapter (it provides ftd2xx.dll)";

std::shared_ptr<const D2xxApi> LoadApi(std::string* error) {
    auto api = std::make_shared<D2xxApi>();
    std::string reason;
    api->library =
        DynamicLibrary::Open("ftd2xx.dll", DynamicLibrary::Search::SystemFolders, &reason);
    if (!api->library) {
        *error = std::string("ftd2xx.dll not found: ") + kInstall;
        return nullptr;
    }
    DynamicLibrary& dll = *api->library;
    dll.Resolve("FT_CreateDeviceInfoList", &api->createDeviceInfoList)
        .Resolve("FT_GetDeviceInfoDetail", &api->getDeviceInfoDetail)
        .Resolve("FT_Open", &api->open)
        .Resolve("FT_ResetDevice", &api->resetDevice)
        .Resolve("FT_SetUSBParameters", &api->setUsbParameters)
        .Resolve("FT_SetLatencyTimer", &api->setLatencyTimer)
        .Resolve("FT_SetBitMode", &api->setBitMode)
        .Resolve("FT_Purge", &api->purge)
        .Resolve("FT_Write", &api->write)
        .Resolve("FT_Read", &api->read)
        .Resolve("FT_GetQueueStatus", &api->getQueueStatus)
        .Resolve("FT_Close", &api->close);
    if (!dll.FirstMissing().empty()) {
        *error = "ftd2xx.dll has no " + dll.FirstMissing() + ": " + kInstall;
        return nullptr;
    }
    return api;
}

std::string StatusText(Status status) {
    switch (status) {
    case kInvalidHandle:
        return "invalid handle";
    case kDeviceNotFound:
        return "device not found (unplugged?)";
    case kDeviceNotOpened:
        return "device not opened (in use?)";
    case kIoError:
        return "I/O error";
    default:
        return "FT_STATUS " + std::to_string(status);
    }
}

// The driver lists every interface of a chip as its own entry; a multi-interface chip's
// serial number and description end in the interface letter.
struct Listing {
    std::vector<FtdiDevice> devices;
    std::vector<std::array<int, 4>> entries; // per device and interface: the list index
};

Listing List(const D2xxApi& api, std::string* note) {
    Listing listing;
    Dword count = 0;
    if (api.createDeviceInfoList(&count) != kOk) {
        *note = "ftd2xx.dll cannot list devices";
        return listing;
    }
    std::vector<std::string> keys;
    for (Dword i = 0; i < count; ++i) {
        Dword flags = 0, type = 0, id = 0, location = 0;
        char serial[kSerialSize + 1] = "", description[kDescriptionSize + 1] = "";
        Handle handle = nullptr;
        if (api.getDeviceInfoDetail(i, &flags, &type, &id, &location, serial, description,
                                    &handle) != kOk)
            continue;
        FtdiDevice device;
        if (type == kType232H)
            device.chip = FtdiChip::Ft232h;
        else if (type == kType2232H)
            device.chip = FtdiChip::Ft2232h;
        else if (type == kType4232H)
            device.chip = FtdiChip::Ft4232h;
        else
            continue;
        device.serial = serial;
        device.description = description;
        int channel = 0;
        if (device.chip != FtdiChip::Ft232h) {
            std::string& named = device.serial.empty() ? device.description : device.serial;
            const char letter = named.empty() ? 'A' : named.back();
            if (letter >= 'A' && letter <= 'D') {
                channel = letter - 'A';
                named.pop_back();
                if (&named == &device.description && !named.empty() && named.back() == ' ')
                    named.pop_back();
            }
            if (!device.serial.empty() && device.description.size() > 2 &&
                device.description.compare(device.description.size() - 2, 2,
                                           std::string(" ") + letter) == 0)
                device.description.resize(device.description.size() - 2);
        }
        const std::string key = device.serial + "\n" + device.description;
        size_t at = 0;
        while (at < keys.size() && keys[at] != key)
            ++at;
        if (at == keys.size()) {
            keys.push_back(key);
            listing.devices.push_back(device);
            listing.entries.push_back({-1, -1, -1, -1});
        }
        listing.entries[at][static_cast<size_t>(channel)] = static_cast<int>(i);
    }
    return listing;
}

} // namespace

std::unique_ptr<D2xxLink> D2xxLink::Open(const FtdiSelection& selection, FtdiChip* chip,
                                         std::string* name, std::string* error) {
    std::shared_ptr<const D2xxApi> api = LoadApi(error);
    if (!api)
        return nullptr;
    std::string note;
    const Listing listing = List(*api, &note);
    if (!note.empty()) {
        *error = note;
        return nullptr;
    }
    const int found = FindFtdiDevice(listing.devices, selection, error);
    if (found < 0)
        return nullptr;
    *chip = listing.devices[static_cast<size_t>(found)].chip;
    *name = FtdiBusName(found, selection.channel);
    const int entry =
        listing.entries[static_cast<size_t>(found)][static_cast<size_t>(selection.channel)];
    Handle handle = nullptr;
    const Status opened = entry < 0 ? kDeviceNotFound : api->open(entry, &handle);
    if (opened != kOk) {
        *error = *name + ": cannot open: " + StatusText(opened);
        return nullptr;
    }
    std::unique_ptr<D2xxLink> link(new D2xxLink(api, handle));
    Status s = api->resetDevice(handle);
    if (s == kOk)
        s = api->setUsbParameters(handle, kUsbBufferSize, kUsbBufferSize);
    if (s == kOk)
        s = api->setLatencyTimer(handle, kLatencyTimerMs);
    if (s == kOk)
        s = api->setBitMode(handle, 0, kBitModeReset);
    if (s == kOk)
        s = api->setBitMode(handle, 0, kBitModeMpsse);
    if (s == kOk) {
        std::this_thread::sleep_for(std::chrono::milliseconds(kSettleMs));
        s = api->purge(handle, kPurgeRx | kPurgeTx);
    }
    if (s != kOk) {
        *error = *name + ": cannot switch to MPSSE mode: " + StatusText(s);
        return nullptr;
    }
    return link;
}

D2xxLink::~D2xxLink() {
    api_->setBitMode(handle_, 0, kBitModeReset);
    api_->close(handle_);
}

bool D2xxLink::Send(const std::vector<uint8_t>& data, std::string* error) {
    Dword written = 0;
    const Status s = api_->write(handle_, const_cast<uint8_t*>(data.data()),
                                 static_cast<Dword>(data.size()), &written);
    if (s == kOk && written == data.size())
        return true;
    *error = "USB transfer failed: " + (s != kOk ? StatusText(s)
                                                 : std::to_string(written) + " of " +
                                                       std::to_string(data.size()) + " bytes sent");
    return false;
}

bool D2xxLink::Receive(size_t size, std::vector<uint8_t>* data, std::string* error) {
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(kReadTimeoutMs);
    Dword queued = 0;
    for (;;) {
        const Status s = api_->getQueueStatus(handle_, &queued);
        if (s != kOk) {
            *error = "USB transfer failed: " + StatusText(s);
            return false;
        }
        if (queued >= size)
            break;
        if (std::chrono::steady_clock::now() > deadline) {
            *error = "USB read timed out: " + std::to_string(queued) + " of " +
                     std::to_string(size) + " bytes";
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    data->assign(size, 0);
    Dword got = 0;
    const Status s = api_->read(handle_, data->data(), static_cast<Dword>(size), &got);
    if (s == kOk && got == size)
        return true;
    *error = "USB transfer failed: " +
             (s != kOk ? StatusText(s)
                       : std::to_string(got) + " of " + std::to_string(size) + " bytes read");
    return false;
}

std::unique_ptr<ByteLink> OpenFtdiLink(const FtdiSelection& selection, FtdiChip* chip,
                                       std::string* name, std::string* error) {
    return D2xxLink::Open(selection, chip, name, error);
}

std::vector<FtdiDevice> ListFtdiDevices(std::string* note) {
    std::shared_ptr<const D2xxApi> api = LoadApi(note);
    if (!api)
        return {};
    return List(*api, note).devices;
}

} // namespace rtd::host::ftdi

#include "LibFtdiLink.h"
#include "FtdiBus.h"

#include <ftdi.h>
#include <libusb.h>

#include <chrono>
#include <thread>

#include "FtdiUsbTiming.h"

namespace rtd::host::ftdi {

namespace {

constexpr int kReadTimeoutMs = 1000;
// libftdi's own return codes: ftdi_usb_open_dev's, and "USB device unavailable".
constexpr int kOpenFailed = -4;
constexpr int kClaimFailed = -5;
constexpr int kDeviceUnavailable = -666;

// The product id and device release tell the three H chips from the FT2232C/D (same
// 0x6010, no 60 MHz clock or three-phase clocking) and from UART-only chips.
bool ChipOf(libusb_device* device, FtdiChip* chip) {
    libusb_device_descriptor d{};
    if (libusb_get_device_descriptor(device, &d) != 0 || d.idVendor != 0x0403)
        return false;
    const struct {
        uint16_t product, release;
        FtdiChip chip;
    } known[] = {{0x6014, 0x0900, FtdiChip::Ft232h},
                 {0x6010, 0x0700, FtdiChip::Ft2232h},
                 {0x6011, 0x0800, FtdiChip::Ft4232h}};
    for (const auto& k : known)
        if (d.idProduct == k.product && d.bcdDevice == k.release) {
            *chip = k.chip;
            return true;
        }
    return false;
}

// The MPSSE chips libftdi finds, with the libusb device of each (valid until `list` is
// freed).
std::vector<FtdiDevice> Scan(ftdi_context* context, ftdi_device_list** list,
                             std::vector<libusb_device*>* usb, std::string* note) {
    std::vector<FtdiDevice> devices;
    if (ftdi_usb_find_all(context, list, 0, 0) < 0) {
        *note = std::string("cannot list USB devices: ") + ftdi_get_error_string(context);
        return devices;
    }
    for (ftdi_device_list* d = *list; d; d = d->next) {
        FtdiDevice device;
        if (!ChipOf(d->dev, &device.chip))
            continue;
        char description[128] = "", serial[64] = "";
        // Needs the device to be opened; without permission the strings stay empty.
        ftdi_usb_get_strings(context, d->dev, nullptr, 0, description, sizeof description, serial,
                             sizeof serial);
        device.description = description;
        device.serial = serial;
        devices.push_back(device);
        usb->push_back(d->dev);
    }
    return devices;
}

std::string Failure(const char* what, ftdi_context* context) {
    return std::string(what) + ": " + ftdi_get_error_string(context);
}

// A failed transfer: libftdi passes libusb's code on, which says why (timed out, unplugged).
std::string TransferFailure(int code, ftdi_context* context) {
    if (code == kDeviceUnavailable)
        code = LIBUSB_ERROR_NO_DEVICE;
    if (code < LIBUSB_ERROR_OTHER)
        return Failure("USB transfer failed", context);
    return std::string("USB transfer failed: ") + libusb_strerror(static_cast<libusb_error>(code));
}

// libftdi names only the step that failed: the open (libusb is asked again for the reason,
// to point at the udev rule when it is permission) or the claim (another program has it).
std::string OpenFailure(int code, const std::string& name, libusb_device* device,
                        ftdi_context* context) {
    if (code == kClaimFailed)
        return "bus busy: another program has claimed " + name + " (one command at a time)";
    libusb_device_handle* handle = nullptr;
    const int reason = code == kOpenFailed ? libusb_open(device, &handle) : 0;
    if (reason == 0 && handle)
        libusb_close(handle);
    if (reason == LIBUSB_ERROR_ACCESS)
        return "no permission to open " + name +
               ": install host/udev/60-rtd2120-adapters.rules (docs/ADAPTERS.md)";
    return name + ": " + Failure("cannot open", context);
}

} // namespace

std::unique_ptr<LibFtdiLink> LibFtdiLink::Open(const FtdiSelection& selection, FtdiChip* chip,
                                               std::string* name, std::string* error) {
    ftdi_context* context = ftdi_new();
    if (!context) {
        *error = "libftdi cannot start";
        return nullptr;
    }
    std::unique_ptr<LibFtdiLink> link(new LibFtdiLink(context));
    ftdi_device_list* list = nullptr;
    std::vector<libusb_device*> usb;
    std::string note;
    const std::vector<FtdiDevice> devices = Scan(context, &list, &usb, &note);
    const int found = note.empty() ? FindFtdiDevice(devices, selection, error) : -1;
    if (!note.empty())
        *error = note;
    bool opened = false;
    if (found >= 0) {
        *chip = devices[static_cast<size_t>(found)].chip;
        *name = FtdiBusName(found, selection.channel);
        context->module_detach_mode = AUTO_DETACH_REATACH_SIO_MODULE;
        if (ftdi_set_interface(context,
                               static_cast<ftdi_interface>(INTERFACE_A + selection.channel)) < 0)
            *error = Failure("cannot select the interface", context);
        else if (const int r = ftdi_usb_open_dev(context, usb[static_cast<size_t>(found)]); r < 0)
            *error = OpenFailure(r, *name, usb[static_cast<size_t>(found)], context);
        else
            opened = true;
    }
    ftdi_list_free(&list);
    if (!opened)
        return nullptr;
    context->usb_read_timeout = kReadTimeoutMs;
    context->usb_write_timeout = kReadTimeoutMs;
    bool ok = ftdi_usb_reset(context) >= 0 &&
              ftdi_set_latency_timer(context, kLatencyTimerMs) >= 0 &&
              ftdi_set_bitmode(context, 0, BITMODE_RESET) >= 0 &&
              ftdi_set_bitmode(context, 0, BITMODE_MPSSE) >= 0;
    if (ok) {
        std::this_thread::sleep_for(std::chrono::milliseconds(kSettleMs));
        ok = ftdi_tcioflush(context) >= 0;
    }
    if (!ok) {
        *error = *name + ": " + Failure("cannot switch to MPSSE mode", context);
        return nullptr;
    }
    return link;
}

LibFtdiLink::~LibFtdiLink() {
    if (context_->usb_dev) {
        ftdi_set_bitmode(context_, 0, BITMODE_RESET);
        ftdi_usb_close(context_);
    }
    ftdi_free(context_);
}

bool LibFtdiLink::Send(const std::vector<uint8_t>& data, std::string* error) {
    const int n = ftdi_write_data(context_, data.data(), static_cast<int>(data.size()));
    if (n == static_cast<int>(data.size()))
        return true;
    *error = n < 0 ? TransferFailure(n, context_)
                   : "USB transfer failed: " + std::to_string(n) + " of " +
                         std::to_string(data.size()) + " bytes sent";
    return false;
}

bool LibFtdiLink::Receive(size_t size, std::vector<uint8_t>* data, std::string* error) {
    data->assign(size, 0);
    size_t got = 0;
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(kReadTimeoutMs);
    while (got < size) {
        const int n = ftdi_read_data(context_, data->data() + got, static_cast<int>(size - got));
        if (n < 0) {
            *error = TransferFailure(n, context_);
            return false;
        }
        got += static_cast<size_t>(n);
        if (n == 0 && std::chrono::steady_clock::now() > deadline) {
            *error = "USB read timed out: " + std::to_string(got) + " of " + std::to_string(size) +
                     " bytes";
            return false;
        }
    }
    return true;
}

std::unique_ptr<ByteLink> OpenFtdiLink(const FtdiSelection& selection, FtdiChip* chip,
                                       std::string* name, std::string* error) {
    return LibFtdiLink::Open(selection, chip, name, error);
}

std::vector<FtdiDevice> ListFtdiDevices(std::string* note) {
    ftdi_context* context = ftdi_new();
    if (!context) {
        *note = "libftdi cannot start";
        return {};
    }
    ftdi_device_list* list = nullptr;
    std::vector<libusb_device*> usb;
    std::vector<FtdiDevice> devices = Scan(context, &list, &usb, note);
    ftdi_list_free(&list);
    ftdi_free(context);
    return devices;
}

} // namespace rtd::host::ftdi

// A stand-in for libusb-1.0 (libusb-1.0.so.0), written to the library's documented API,
// so that a test can run the real isphost, with its own CH341A and libftdi1 transports,
// against the adapter models and the chip model. It presents the devices of the scenario
// (UsbScenario.h), gives each claimed interface its models (ModelInterface.h), and plays
// the USB stack's refusals: no permission, an interface held by another process, a
// kernel driver bound to it. Only the synchronous calls the transports and the stand-in
// libftdi1 make are here.
#include <libusb.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <set>

#include "ModelInterface.h"
#include "UsbScenario.h"

using rtd::host::usb::DeviceKind;
using rtd::host::usb::ModelInterface;
using rtd::host::usb::Record;
using rtd::host::usb::Scenario;

struct libusb_context {};

struct libusb_device {
    DeviceKind kind;
    libusb_device_descriptor descriptor;
    uint8_t address;
    const char* strings[3]; // manufacturer, product, serial number
    int interfaces;
    std::set<int> bound; // interfaces a kernel driver is bound to
};

struct libusb_device_handle {
    libusb_device* device = nullptr;
    bool autoDetach = false;
    std::map<int, std::unique_ptr<ModelInterface>> claimed;
    std::set<int> detachedAtClaim; // to be reattached at release
};

namespace {

libusb_device Make(DeviceKind kind, uint8_t address) {
    libusb_device d{};
    d.kind = kind;
    d.address = address;
    d.descriptor.bLength = LIBUSB_DT_DEVICE_SIZE;
    d.descriptor.bDescriptorType = LIBUSB_DT_DEVICE;
    d.descriptor.bcdUSB = 0x0200;
    d.descriptor.bNumConfigurations = 1;
    if (kind == DeviceKind::Ch341) {
        d.descriptor.idVendor = 0x1A86;
        d.descriptor.idProduct = 0x5512;
        d.descriptor.bcdDevice = 0x0304;
        d.descriptor.iProduct = 2;
        d.strings[1] = "USB UART-LPT";
        d.interfaces = 1;
    } else {
        const bool dual = kind == DeviceKind::Ft2232h;
        d.descriptor.idVendor = 0x0403;
        d.descriptor.idProduct = dual ? 0x6010 : 0x6014;
        d.descriptor.bcdDevice = dual ? 0x0700 : 0x0900;
        d.descriptor.iManufacturer = 1;
        d.descriptor.iProduct = 2;
        d.descriptor.iSerialNumber = 3;
        d.strings[0] = "FTDI";
        d.strings[1] = dual ? "Dual RS232-HS" : "Single RS232-HS";
        d.strings[2] = dual ? "FT000002" : "FT000001";
        d.interfaces = dual ? 2 : 1;
    }
    if (Scenario().kernelDriver)
        for (int i = 0; i < d.interfaces; ++i)
            d.bound.insert(i);
    return d;
}

std::vector<libusb_device>& Devices() {
    static std::vector<libusb_device> devices = [] {
        std::vector<libusb_device> all;
        for (DeviceKind kind : Scenario().attached)
            all.push_back(Make(kind, static_cast<uint8_t>(5 + all.size())));
        return all;
    }();
    return devices;
}

// The interface an endpoint belongs to: the CH341A has one, an FTDI chip a pair of
// endpoints per interface (0x02/0x81 for A, 0x04/0x83 for B).
ModelInterface* Endpoint(libusb_device_handle* h, unsigned char endpoint) {
    const int number = h->device->kind == DeviceKind::Ch341 ? 0 : ((endpoint & 0x0F) - 1) / 2;
    auto it = h->claimed.find(number);
    return it == h->claimed.end() ? nullptr : it->second.get();
}

const struct Error {
    int code;
    const char* name;
    const char* text;
} kErrors[] = {
    {LIBUSB_SUCCESS, "LIBUSB_SUCCESS", "Success"},
    {LIBUSB_ERROR_IO, "LIBUSB_ERROR_IO", "Input/Output Error"},
    {LIBUSB_ERROR_INVALID_PARAM, "LIBUSB_ERROR_INVALID_PARAM", "Invalid parameter"},
    {LIBUSB_ERROR_ACCESS, "LIBUSB_ERROR_ACCESS", "Access denied (insufficient permissions)"},
    {LIBUSB_ERROR_NO_DEVICE, "LIBUSB_ERROR_NO_DEVICE",
     "No such device (it may have been disconnected)"},
    {LIBUSB_ERROR_NOT_FOUND, "LIBUSB_ERROR_NOT_FOUND", "Entity not found"},
    {LIBUSB_ERROR_BUSY, "LIBUSB_ERROR_BUSY", "Resource busy"},
    {LIBUSB_ERROR_TIMEOUT, "LIBUSB_ERROR_TIMEOUT", "Operation timed out"},
    {LIBUSB_ERROR_PIPE, "LIBUSB_ERROR_PIPE", "Pipe error"},
    {LIBUSB_ERROR_OTHER, "LIBUSB_ERROR_OTHER", "Other error"},
};

const Error& ErrorOf(int code) {
    for (const Error& e : kErrors)
        if (e.code == code)
            return e;
    return kErrors[std::size(kErrors) - 1];
}

} // namespace

extern "C" {

int libusb_init(libusb_context** ctx) {
    if (ctx)
        *ctx = new libusb_context;
    return 0;
}

void libusb_exit(libusb_context* ctx) {
    delete ctx;
}

const char* libusb_error_name(int code) {
    return ErrorOf(code).name;
}

const char* libusb_strerror(int code) {
    return ErrorOf(code).text;
}

ssize_t libusb_get_device_list(libusb_context*, libusb_device*** list) {
    auto& devices = Devices();
    *list = new libusb_device*[devices.size() + 1];
    for (size_t i = 0; i < devices.size(); ++i)
        (*list)[i] = &devices[i];
    (*list)[devices.size()] = nullptr;
    return static_cast<ssize_t>(devices.size());
}

// The devices live as long as the process: references need no counting.
void libusb_free_device_list(libusb_device** list, int) {
    delete[] list;
}

libusb_device* libusb_ref_device(libusb_device* dev) {
    return dev;
}

void libusb_unref_device(libusb_device*) {}

int libusb_get_device_descriptor(libusb_device* dev, libusb_device_descriptor* desc) {
    *desc = dev->descriptor;
    return 0;
}

uint8_t libusb_get_bus_number(libusb_device*) {
    return 1;
}

uint8_t libusb_get_device_address(libusb_device* dev) {
    return dev->address;
}

int libusb_open(libusb_device* dev, libusb_device_handle** handle) {
    if (Scenario().openDenied)
        return LIBUSB_ERROR_ACCESS;
    *handle = new libusb_device_handle;
    (*handle)->device = dev;
    Record("open");
    return 0;
}

libusb_device* libusb_get_device(libusb_device_handle* handle) {
    return handle->device;
}

int libusb_kernel_driver_active(libusb_device_handle* handle, int interface) {
    return handle->device->bound.count(interface) ? 1 : 0;
}

int libusb_detach_kernel_driver(libusb_device_handle* handle, int interface) {
    if (!handle->device->bound.erase(interface))
        return LIBUSB_ERROR_NOT_FOUND;
    Record("detach " + std::to_string(interface));
    return 0;
}

int libusb_attach_kernel_driver(libusb_device_handle* handle, int interface) {
    if (handle->claimed.count(interface))
        return LIBUSB_ERROR_BUSY;
    if (!handle->device->bound.insert(interface).second)
        return LIBUSB_ERROR_BUSY;
    Record("attach " + std::to_string(interface));
    return 0;
}

int libusb_set_auto_detach_kernel_driver(libusb_device_handle* handle, int enable) {
    handle->autoDetach = enable != 0;
    return 0;
}

int libusb_claim_interface(libusb_device_handle* handle, int interface) {
    if (interface < 0 || interface >= handle->device->interfaces)
        return LIBUSB_ERROR_NOT_FOUND;
    if (handle->claimed.count(interface))
        return 0;
    if (Scenario().claimedElsewhere)
        return LIBUSB_ERROR_BUSY;
    if (handle->device->bound.count(interface)) {
        if (!handle->autoDetach)
            return LIBUSB_ERROR_BUSY; // the kernel driver has it
        libusb_detach_kernel_driver(handle, interface);
        handle->detachedAtClaim.insert(interface);
    }
    auto model = ModelInterface::Claim(handle->device->kind);
    if (!model)
        return LIBUSB_ERROR_IO;
    handle->claimed[interface] = std::move(model);
    Record("claim " + std::to_string(interface));
    return 0;
}

int libusb_release_interface(libusb_device_handle* handle, int interface) {
    auto it = handle->claimed.find(interface);
    if (it == handle->claimed.end())
        return LIBUSB_ERROR_NOT_FOUND;
    const bool gone = it->second->Gone();
    handle->claimed.erase(it); // saves the flash
    Record("release " + std::to_string(interface));
    if (handle->detachedAtClaim.erase(interface) && !gone)
        libusb_attach_kernel_driver(handle, interface);
    return gone ? LIBUSB_ERROR_NO_DEVICE : 0;
}

void libusb_close(libusb_device_handle* handle) {
    while (!handle->claimed.empty())
        libusb_release_interface(handle, handle->claimed.begin()->first);
    Record("close");
    delete handle;
}

int libusb_get_string_descriptor_ascii(libusb_device_handle* handle, uint8_t index,
                                       unsigned char* data, int length) {
    const char* text = index >= 1 && index <= 3 ? handle->device->strings[index - 1] : nullptr;
    if (!text || length <= 0)
        return LIBUSB_ERROR_INVALID_PARAM;
    const int n = std::min(static_cast<int>(std::strlen(text)), length - 1);
    std::memcpy(data, text, static_cast<size_t>(n));
    data[n] = 0;
    return n;
}

// FTDI's vendor requests: a reset of the receive or transmit buffer (request 0, value 1
// or 2, index the interface from 1) drops the answers waiting; the others (latency
// timer, bit mode, baud rate) change nothing the models see.
int libusb_control_transfer(libusb_device_handle* handle, uint8_t, uint8_t request, uint16_t value,
                            uint16_t index, unsigned char*, uint16_t length, unsigned int) {
    if (handle->device->kind == DeviceKind::Ch341)
        return LIBUSB_ERROR_PIPE;
    if (request == 0 && (value == 1 || value == 2)) {
        auto it = handle->claimed.find(index - 1);
        if (it != handle->claimed.end())
            it->second->Purge();
    }
    return length;
}

int libusb_bulk_transfer(libusb_device_handle* handle, unsigned char endpoint, unsigned char* data,
                         int length, int* actual, unsigned int) {
    ModelInterface* model = Endpoint(handle, endpoint);
    if (!model)
        return LIBUSB_ERROR_NOT_FOUND;
    return (endpoint & LIBUSB_ENDPOINT_IN) ? model->In(data, length, actual)
                                           : model->Out(data, length, actual);
}

} // extern "C"

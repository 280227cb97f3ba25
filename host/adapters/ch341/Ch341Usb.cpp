// The CH341A on libusb-1.0: bulk OUT endpoint 0x02, bulk IN endpoint 0x82, interface 0.
// The only code in the host that touches the USB device.
#include <cstdio>

#include <libusb.h>

#include "AdapterBus.h"
#include "Ch341Adapter.h"
#include "Ch341Bus.h"
#include "Ch341Encoder.h"
#include "CountingLink.h"
#include "ForwardingAdapter.h"
#include "TracingLink.h"

namespace rtd::host::ch341 {

namespace {

constexpr uint16_t kVendor = 0x1A86;
constexpr uint16_t kProduct = 0x5512;
constexpr unsigned char kOutEndpoint = 0x02;
constexpr unsigned char kInEndpoint = 0x82;
constexpr unsigned kTimeoutMs = 1000;

std::string UsbError(int code) {
    return std::string("USB transfer failed: ") + libusb_strerror(static_cast<libusb_error>(code));
}

std::string Where(libusb_device* device) {
    char text[40];
    std::snprintf(text, sizeof text, "USB bus %03u device %03u", libusb_get_bus_number(device),
                  libusb_get_device_address(device));
    return text;
}

class UsbLink : public ByteLink {
public:
    ~UsbLink() override {
        if (handle_) {
            libusb_release_interface(handle_, 0);
            libusb_close(handle_);
        }
        if (context_)
            libusb_exit(context_);
    }

    // The index-th CH341A, opened and claimed. False with a one-line reason.
    bool Open(int index, std::string* where, std::string* error) {
        if (libusb_init(&context_) != 0) {
            context_ = nullptr;
            *error = "cannot start libusb";
            return false;
        }
        libusb_device** list = nullptr;
        const ssize_t n = libusb_get_device_list(context_, &list);
        libusb_device* found = nullptr;
        for (ssize_t i = 0, seen = 0; i < n && !found; ++i) {
            libusb_device_descriptor d;
            if (libusb_get_device_descriptor(list[i], &d) == 0 && d.idVendor == kVendor &&
                d.idProduct == kProduct && seen++ == index)
                found = list[i];
        }
        bool ok = false;
        if (!found) {
            *error = "no CH341A (USB 1a86:5512) at index " + std::to_string(index) +
                     ": plug it in (`isphost buses` lists what is attached)";
        } else {
            *where = Where(found);
            ok = OpenDevice(found, *where, error);
        }
        libusb_free_device_list(list, 1);
        return ok;
    }

    bool Send(const std::vector<uint8_t>& data, std::string* error) override {
        int actual = 0;
        const int r = libusb_bulk_transfer(handle_, kOutEndpoint, const_cast<uint8_t*>(data.data()),
                                           static_cast<int>(data.size()), &actual, kTimeoutMs);
        if (r == 0 && actual == static_cast<int>(data.size()))
            return true;
        *error = r ? UsbError(r) : "USB transfer failed: the adapter took only part of a packet";
        return false;
    }

    bool Receive(size_t size, std::vector<uint8_t>* data, std::string* error) override {
        data->clear();
        while (data->size() < size) {
            // Whole packets only: asking for less than the adapter sends overflows.
            uint8_t packet[kPacketSize];
            int actual = 0;
            const int r = libusb_bulk_transfer(handle_, kInEndpoint, packet, sizeof packet, &actual,
                                               kTimeoutMs);
            if (r != 0) {
                *error = UsbError(r);
                return false;
            }
            data->insert(data->end(), packet,
                         packet + std::min<size_t>(actual, size - data->size()));
        }
        return true;
    }

private:
    bool OpenDevice(libusb_device* device, const std::string& where, std::string* error) {
        int r = libusb_open(device, &handle_);
        if (r == LIBUSB_ERROR_ACCESS) {
            *error = "no permission to open the CH341A on " + where +
                     ": install host/udev/60-rtd2120-adapters.rules (docs/ADAPTERS.md)";
            return false;
        }
        if (r != 0) {
            handle_ = nullptr;
            *error = "cannot open the CH341A on " + where + ": " +
                     libusb_strerror(static_cast<libusb_error>(r));
            return false;
        }
        libusb_set_auto_detach_kernel_driver(handle_, 1);
        r = libusb_claim_interface(handle_, 0);
        if (r != 0) {
            libusb_close(handle_);
            handle_ = nullptr;
            *error = r == LIBUSB_ERROR_BUSY
                         ? "bus busy: another program has claimed the CH341A on " + where +
                               " (one command at a time)"
                         : "cannot claim the CH341A on " + where + ": " +
                               libusb_strerror(static_cast<libusb_error>(r));
            return false;
        }
        return true;
    }

    libusb_context* context_ = nullptr;
    libusb_device_handle* handle_ = nullptr;
};

// The link, its counts, its trace and the adapter over them, owned together.
class UsbCh341 : public ForwardingAdapter {
public:
    UsbCh341(std::unique_ptr<UsbLink> link, Trace* trace, const std::string& name)
        : ForwardingAdapter(&adapter_), link_(std::move(link)),
          counting_(link_.get(), kRoundTripSeconds), tracing_(&counting_, trace),
          adapter_(&tracing_, name) {}
    bool SetSpeed(int khz, std::string* error) { return adapter_.SetSpeed(khz, error); }
    const UsbCounts* Usb() const override { return &counting_.Counts(); }

private:
    std::unique_ptr<UsbLink> link_;
    CountingLink counting_;
    TracingLink tracing_;
    Ch341Adapter adapter_;
};

std::unique_ptr<UsbCh341> OpenAdapter(int index, int speedKhz, Trace* trace, std::string* where,
                                      std::string* error) {
    auto link = std::make_unique<UsbLink>();
    if (!link->Open(index, where, error))
        return nullptr;
    auto adapter =
        std::make_unique<UsbCh341>(std::move(link), trace, "ch341:" + std::to_string(index));
    if (!adapter->SetSpeed(speedKhz, error))
        return nullptr;
    return adapter;
}

} // namespace

std::unique_ptr<HostBus> OpenCh341Device(int index, int speedKhz, Trace* trace,
                                         std::string* error) {
    std::string where;
    auto adapter = OpenAdapter(index, speedKhz, trace, &where, error);
    if (!adapter)
        return nullptr;
    return std::make_unique<AdapterHostBus>(std::move(adapter));
}

std::vector<BusListing> ListCh341Devices(std::string* note) {
    std::vector<BusListing> found;
    Trace none;
    for (int index = 0;; ++index) {
        BusListing l;
        std::string error;
        auto adapter = OpenAdapter(index, 100, &none, &l.what, &error);
        if (!adapter && l.what.empty())
            break; // no more CH341A devices
        l.bus = "ch341:" + std::to_string(index);
        l.answer = adapter ? ProbeChip(*adapter).Describe() : error;
        found.push_back(l);
    }
    if (found.empty())
        *note = "none (USB 1a86:5512)";
    return found;
}

} // namespace rtd::host::ch341

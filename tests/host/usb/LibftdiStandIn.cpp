// A stand-in for libftdi1 (libftdi1.so.2), written to the library's documented API, over
// the stand-in libusb-1.0 as the real one runs over libusb: it finds the FTDI chips on
// the bus, opens and claims an interface (detaching a kernel driver as the context's
// module_detach_mode asks), and moves the MPSSE bytes in bulk transfers. Unlike a real
// chip's, the stand-in's IN endpoint carries no modem status bytes. Only the calls the
// host's transport makes are here.
#include <ftdi.h>
#include <libusb.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>

namespace {

constexpr uint16_t kFtdi = 0x0403;
constexpr uint16_t kProducts[] = {0x6001, 0x6010, 0x6011, 0x6014, 0x6015};
constexpr int kChunk = 4096;

int Fail(ftdi_context* ftdi, int code, const char* text) {
    ftdi->error_str = text;
    return code;
}

bool Wanted(const libusb_device_descriptor& d, int vendor, int product) {
    if (vendor || product)
        return d.idVendor == vendor && d.idProduct == product;
    for (uint16_t p : kProducts)
        if (d.idVendor == kFtdi && d.idProduct == p)
            return true;
    return false;
}

enum ftdi_chip_type TypeOf(libusb_device* dev) {
    libusb_device_descriptor d{};
    libusb_get_device_descriptor(dev, &d);
    switch (d.bcdDevice) {
    case 0x0700:
        return TYPE_2232H;
    case 0x0800:
        return TYPE_4232H;
    case 0x0900:
        return TYPE_232H;
    default:
        return TYPE_BM;
    }
}

int Control(ftdi_context* ftdi, uint8_t request, uint16_t value, const char* failure) {
    if (!ftdi->usb_dev)
        return Fail(ftdi, -2, "USB device unavailable");
    if (libusb_control_transfer(ftdi->usb_dev,
                                LIBUSB_REQUEST_TYPE_VENDOR | LIBUSB_RECIPIENT_DEVICE |
                                    LIBUSB_ENDPOINT_OUT,
                                request, value, static_cast<uint16_t>(ftdi->index), nullptr, 0,
                                static_cast<unsigned>(ftdi->usb_write_timeout)) < 0)
        return Fail(ftdi, -1, failure);
    return 0;
}

bool ReadString(libusb_device_handle* h, uint8_t index, char* text, int size) {
    if (!text || size <= 0)
        return true;
    text[0] = 0;
    return !index || libusb_get_string_descriptor_ascii(
                         h, index, reinterpret_cast<unsigned char*>(text), size) >= 0;
}

} // namespace

extern "C" {

struct ftdi_context* ftdi_new(void) {
    auto* ftdi = static_cast<ftdi_context*>(std::calloc(1, sizeof(ftdi_context)));
    if (!ftdi || libusb_init(&ftdi->usb_ctx) < 0) {
        std::free(ftdi);
        return nullptr;
    }
    ftdi->usb_read_timeout = 5000;
    ftdi->usb_write_timeout = 5000;
    ftdi->type = TYPE_BM;
    ftdi->baudrate = -1;
    ftdi->readbuffer_chunksize = kChunk;
    ftdi->writebuffer_chunksize = kChunk;
    ftdi->max_packet_size = 512;
    ftdi_set_interface(ftdi, INTERFACE_ANY);
    ftdi->module_detach_mode = AUTO_DETACH_SIO_MODULE;
    return ftdi;
}

int ftdi_set_interface(struct ftdi_context* ftdi, enum ftdi_interface interface) {
    if (ftdi->usb_dev)
        return Fail(ftdi, -3, "Interface can not be changed on an already open device");
    const int number = interface == INTERFACE_ANY ? 0 : interface - INTERFACE_A;
    if (number < 0 || number > 3)
        return Fail(ftdi, -1, "Unknown interface");
    ftdi->interface = number;
    ftdi->index = number + 1;
    ftdi->in_ep = 0x02 + 2 * number;  // host to chip
    ftdi->out_ep = 0x81 + 2 * number; // chip to host
    return 0;
}

int ftdi_usb_close(struct ftdi_context* ftdi) {
    if (!ftdi->usb_dev)
        return 0;
    int rtn = 0;
    if (libusb_release_interface(ftdi->usb_dev, ftdi->interface) < 0)
        rtn = Fail(ftdi, -1, "usb_release failed");
    libusb_close(ftdi->usb_dev);
    ftdi->usb_dev = nullptr;
    return rtn;
}

void ftdi_free(struct ftdi_context* ftdi) {
    if (!ftdi)
        return;
    ftdi_usb_close(ftdi);
    libusb_exit(ftdi->usb_ctx);
    std::free(ftdi);
}

int ftdi_usb_find_all(struct ftdi_context* ftdi, struct ftdi_device_list** devlist, int vendor,
                      int product) {
    libusb_device** devices = nullptr;
    const ssize_t n = libusb_get_device_list(ftdi->usb_ctx, &devices);
    if (n < 0)
        return Fail(ftdi, -5, "libusb_get_device_list() failed");
    *devlist = nullptr;
    ftdi_device_list** tail = devlist;
    int count = 0;
    for (ssize_t i = 0; i < n; ++i) {
        libusb_device_descriptor d{};
        if (libusb_get_device_descriptor(devices[i], &d) < 0 || !Wanted(d, vendor, product))
            continue;
        auto* node = static_cast<ftdi_device_list*>(std::calloc(1, sizeof(ftdi_device_list)));
        node->dev = libusb_ref_device(devices[i]);
        *tail = node;
        tail = &node->next;
        ++count;
    }
    libusb_free_device_list(devices, 1);
    return count;
}

void ftdi_list_free(struct ftdi_device_list** devlist) {
    for (ftdi_device_list* d = *devlist; d;) {
        ftdi_device_list* next = d->next;
        libusb_unref_device(d->dev);
        std::free(d);
        d = next;
    }
    *devlist = nullptr;
}

int ftdi_usb_get_strings(struct ftdi_context* ftdi, struct libusb_device* dev, char* manufacturer,
                         int mnf_len, char* description, int desc_len, char* serial,
                         int serial_len) {
    libusb_device_descriptor d{};
    if (libusb_get_device_descriptor(dev, &d) < 0)
        return Fail(ftdi, -11, "libusb_get_device_descriptor() failed");
    libusb_device_handle* h = nullptr;
    if (libusb_open(dev, &h) < 0)
        return Fail(ftdi, -4, "libusb_open() failed");
    int rtn = 0;
    if (!ReadString(h, d.iManufacturer, manufacturer, mnf_len))
        rtn = Fail(ftdi, -7, "libusb_get_string_descriptor_ascii() failed");
    else if (!ReadString(h, d.iProduct, description, desc_len))
        rtn = Fail(ftdi, -8, "libusb_get_string_descriptor_ascii() failed");
    else if (!ReadString(h, d.iSerialNumber, serial, serial_len))
        rtn = Fail(ftdi, -9, "libusb_get_string_descriptor_ascii() failed");
    libusb_close(h);
    return rtn;
}

const char* ftdi_get_error_string(struct ftdi_context* ftdi) {
    return ftdi->error_str ? ftdi->error_str : "";
}

int ftdi_usb_reset(struct ftdi_context* ftdi) {
    return Control(ftdi, SIO_RESET_REQUEST, SIO_RESET_SIO, "FTDI reset failed");
}

int ftdi_usb_open_dev(struct ftdi_context* ftdi, struct libusb_device* dev) {
    if (libusb_open(dev, &ftdi->usb_dev) < 0) {
        ftdi->usb_dev = nullptr;
        return Fail(ftdi, -4, "libusb_open() failed");
    }
    if (ftdi->module_detach_mode == AUTO_DETACH_SIO_MODULE &&
        libusb_kernel_driver_active(ftdi->usb_dev, ftdi->interface) == 1)
        libusb_detach_kernel_driver(ftdi->usb_dev, ftdi->interface);
    else if (ftdi->module_detach_mode == AUTO_DETACH_REATACH_SIO_MODULE)
        libusb_set_auto_detach_kernel_driver(ftdi->usb_dev, 1);
    if (libusb_claim_interface(ftdi->usb_dev, ftdi->interface) < 0) {
        libusb_close(ftdi->usb_dev);
        ftdi->usb_dev = nullptr;
        return Fail(ftdi, -5, "unable to claim usb device");
    }
    ftdi->type = TypeOf(dev);
    if (ftdi_usb_reset(ftdi) < 0) {
        ftdi_usb_close(ftdi);
        return Fail(ftdi, -6, "ftdi_usb_reset failed");
    }
    return 0;
}

int ftdi_set_latency_timer(struct ftdi_context* ftdi, unsigned char latency) {
    if (latency < 1)
        return Fail(ftdi, -1, "latency out of range. Only valid for 1-255");
    return Control(ftdi, SIO_SET_LATENCY_TIMER_REQUEST, latency, "unable to set latency timer");
}

int ftdi_set_bitmode(struct ftdi_context* ftdi, unsigned char bitmask, unsigned char mode) {
    const int r = Control(ftdi, SIO_SET_BITMODE_REQUEST, static_cast<uint16_t>(mode << 8 | bitmask),
                          "unable to configure bitbang mode");
    if (r == 0) {
        ftdi->bitbang_mode = mode;
        ftdi->bitbang_enabled = mode != BITMODE_RESET;
    }
    return r;
}

int ftdi_tcioflush(struct ftdi_context* ftdi) {
    const int r = Control(ftdi, SIO_RESET_REQUEST, 1, "FTDI purge of RX buffer failed");
    return r < 0 ? r : Control(ftdi, SIO_RESET_REQUEST, 2, "FTDI purge of TX buffer failed");
}

int ftdi_write_data(struct ftdi_context* ftdi, const unsigned char* buf, int size) {
    if (!ftdi->usb_dev)
        return Fail(ftdi, -666, "USB device unavailable");
    int offset = 0;
    while (offset < size) {
        const int chunk =
            std::min<int>(size - offset, static_cast<int>(ftdi->writebuffer_chunksize));
        int actual = 0;
        const int r = libusb_bulk_transfer(ftdi->usb_dev, static_cast<unsigned char>(ftdi->in_ep),
                                           const_cast<unsigned char*>(buf + offset), chunk, &actual,
                                           static_cast<unsigned>(ftdi->usb_write_timeout));
        if (r < 0)
            return Fail(ftdi, r, "usb bulk write failed");
        offset += actual;
        if (actual < chunk)
            break;
    }
    return offset;
}

// Nothing to read reads as 0 bytes after the chip's latency timer, as a real chip's
// status-only packets do.
int ftdi_read_data(struct ftdi_context* ftdi, unsigned char* buf, int size) {
    if (!ftdi->usb_dev)
        return Fail(ftdi, -666, "USB device unavailable");
    int actual = 0;
    const int r =
        libusb_bulk_transfer(ftdi->usb_dev, static_cast<unsigned char>(ftdi->out_ep), buf, size,
                             &actual, static_cast<unsigned>(ftdi->usb_read_timeout));
    if (r == LIBUSB_ERROR_TIMEOUT && actual == 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return 0;
    }
    if (r < 0)
        return Fail(ftdi, r, "usb bulk read failed");
    return actual;
}

} // extern "C"

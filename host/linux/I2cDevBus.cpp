#include "linux/I2cDevBus.h"

#include <cerrno>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <linux/i2c-dev.h>
#include <linux/i2c.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace rtd::host {

namespace {

std::string Hex2(unsigned value) {
    static const char kDigits[] = "0123456789ABCDEF";
    return std::string{kDigits[(value >> 4) & 0xF], kDigits[value & 0xF]};
}

} // namespace

I2cDevSystem RealI2cDevSystem() {
    I2cDevSystem s;
    s.open = [](const char* path, int flags) { return ::open(path, flags); };
    s.ioctl = [](int fd, unsigned long request, void* argument) {
        return ::ioctl(fd, request, argument);
    };
    s.close = [](int fd) { return ::close(fd); };
    s.lastError = [] { return errno; };
    return s;
}

std::unique_ptr<I2cDevBus> I2cDevBus::Open(const std::string& device, I2cDevSystem system,
                                           std::string* error) {
    const int fd = system.open(device.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        *error = "cannot open the I2C adapter " + device + ": " + std::strerror(system.lastError());
        return nullptr;
    }
    return std::unique_ptr<I2cDevBus>(new I2cDevBus(device, std::move(system), fd));
}

I2cDevBus::~I2cDevBus() {
    if (fd_ >= 0)
        system_.close(fd_);
}

bool I2cDevBus::IicWrite(uint8_t address, int count, const uint8_t* data) {
    // The kernel takes a non-const buffer for both directions; a copy keeps `data` intact.
    std::vector<uint8_t> copy(data, data + (count > 0 ? count : 0));
    return Transfer(address, false, count, copy.data());
}

bool I2cDevBus::IicRead(uint8_t address, int count, uint8_t* data) {
    if (count <= 0)
        return Transfer(address, true, count, data);
    std::vector<uint8_t> buffer(data, data + count);
    if (!Transfer(address, true, count, buffer.data()))
        return false;
    std::memcpy(data, buffer.data(), static_cast<size_t>(count));
    return true;
}

bool I2cDevBus::Transfer(uint8_t address, bool read, int count, uint8_t* data) {
    const std::string what = std::string(read ? "read of " : "write of ") + std::to_string(count) +
                             " bytes at address " + Hex2(address);
    if (count < 0 || count > 0xFFFF) {
        Fail(what + ": bad length");
        return false;
    }
    i2c_msg message = {};
    message.addr = static_cast<__u16>(address >> 1);
    message.flags = read ? I2C_M_RD : 0;
    message.len = static_cast<__u16>(count);
    message.buf = data;
    i2c_rdwr_ioctl_data request = {};
    request.msgs = &message;
    request.nmsgs = 1;
    if (system_.ioctl(fd_, I2C_RDWR, &request) < 0) {
        Fail(what + " on " + device_ + " failed: " + std::strerror(system_.lastError()));
        return false;
    }
    return true;
}

void I2cDevBus::Fail(const std::string& reason) {
    if (failures_++ == 0) {
        firstFailure_ = reason;
        if (onFirstFailure_)
            onFirstFailure_(reason);
    }
}

} // namespace rtd::host

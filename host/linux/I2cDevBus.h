// An I2C bus object on a Linux i2c-dev adapter (/dev/i2c-N). Each plug-in transfer is one
// I2C_RDWR ioctl carrying one message; the 7-bit device address is the 8-bit bus address
// shifted right by one.
#ifndef RTD_HOST_LINUX_I2CDEVBUS_H
#define RTD_HOST_LINUX_I2CDEVBUS_H

#include <functional>
#include <memory>
#include <string>

#include "rtd2120/rtd2120.h"

namespace rtd::host {

// The system calls the bus uses; tests replace them, since no adapter is at hand there.
struct I2cDevSystem {
    std::function<int(const char* path, int flags)> open;
    std::function<int(int fd, unsigned long request, void* argument)> ioctl;
    std::function<int(int fd)> close;
    // errno after a failed call.
    std::function<int()> lastError;
};

// The real system calls.
I2cDevSystem RealI2cDevSystem();

class I2cDevBus : public TIicInterface {
public:
    // Null, with a one-line reason, when the device cannot be opened.
    static std::unique_ptr<I2cDevBus> Open(const std::string& device, I2cDevSystem system,
                                           std::string* error);
    virtual ~I2cDevBus();

    // A failed transfer returns false and is counted; a failed read leaves `data` as the
    // caller filled it.
    bool IicWrite(uint8_t address, int count, const uint8_t* data) override;
    bool IicRead(uint8_t address, int count, uint8_t* data) override;

    // Transfers that failed, and the reason of the first one.
    int Failures() const { return failures_; }
    const std::string& FirstFailure() const { return firstFailure_; }
    // Called once, on the first failed transfer, with its one-line reason.
    void SetOnFirstFailure(std::function<void(const std::string&)> report) {
        onFirstFailure_ = std::move(report);
    }

private:
    I2cDevBus(const std::string& device, I2cDevSystem system, int fd)
        : device_(device), system_(std::move(system)), fd_(fd) {}
    bool Transfer(uint8_t address, bool read, int count, uint8_t* data);
    void Fail(const std::string& reason);

    std::string device_;
    I2cDevSystem system_;
    int fd_;
    int failures_ = 0;
    std::string firstFailure_;
    std::function<void(const std::string&)> onFirstFailure_;
};

} // namespace rtd::host

#endif

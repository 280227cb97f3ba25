// A Linux i2c-dev adapter (/dev/i2c-N). Each transaction is one I2C_RDWR ioctl carrying
// one message; the 7-bit device address is the 8-bit bus address shifted right by one.
#ifndef RTD_HOST_ADAPTERS_I2CDEV_I2CDEVADAPTER_H
#define RTD_HOST_ADAPTERS_I2CDEV_I2CDEVADAPTER_H

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "I2cAdapter.h"

namespace rtd::host {

// The system calls the adapter uses; tests replace them, since no adapter is at hand there.
struct I2cDevSystem {
    std::function<int(const char* path, int flags)> open;
    std::function<int(int fd, unsigned long request, void* argument)> ioctl;
    std::function<int(int fd)> close;
    // flock(2): the adapter is held exclusively for the command's whole length.
    std::function<int(int fd, int operation)> flock;
    // errno after a failed call.
    std::function<int()> lastError;
};

// The real system calls.
I2cDevSystem RealI2cDevSystem();

class I2cDevAdapter : public I2cAdapter {
public:
    // Null, with a one-line reason, when the device cannot be opened or another program
    // holds it ("bus busy: ...").
    static std::unique_ptr<I2cDevAdapter> Open(const std::string& device, I2cDevSystem system,
                                               std::string* error);
    ~I2cDevAdapter() override;

    AdapterCapabilities Capabilities() const override;
    bool Write(uint8_t address, const uint8_t* data, int count, std::string* error) override;
    bool Read(uint8_t address, uint8_t* data, int count, std::string* error) override;
    // The kernel checks an adapter's message limits before any bus activity, so a write
    // to the reserved address 0x7C, which no device acknowledges, is refused
    // (EOPNOTSUPP) when too long and otherwise ends at the address byte.
    bool TakesWrite(int count) override;

private:
    I2cDevAdapter(const std::string& device, I2cDevSystem system, int fd, bool plainI2c)
        : device_(device), system_(std::move(system)), fd_(fd), plainI2c_(plainI2c) {}
    bool Transfer(uint8_t address, bool read, int count, uint8_t* data, std::string* error);

    std::string device_;
    I2cDevSystem system_;
    int fd_;
    bool plainI2c_;
    int lastErrno_ = 0; // of the last failed transfer
};
} // namespace rtd::host

#endif

#include "I2cDevAdapter.h"
#include "I2cDevBus.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include <fcntl.h>
#include <linux/i2c-dev.h>
#include <linux/i2c.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include "AdapterBus.h"

namespace rtd::host {

namespace {

// i2c-dev refuses longer messages.
constexpr int kMaxMessage = 8192;
// 1111 1XX is reserved (device ID); nothing takes a plain write there.
constexpr uint8_t kReservedAddress = 0x7C << 1;

std::string Trim(std::string s) {
    while (!s.empty() && (s.back() == '\n' || s.back() == ' '))
        s.pop_back();
    return s;
}

} // namespace

I2cDevSystem RealI2cDevSystem() {
    I2cDevSystem s;
    s.open = [](const char* path, int flags) { return ::open(path, flags); };
    s.ioctl = [](int fd, unsigned long request, void* argument) {
        return ::ioctl(fd, request, argument);
    };
    s.close = [](int fd) { return ::close(fd); };
    s.flock = [](int fd, int operation) { return ::flock(fd, operation); };
    s.lastError = [] { return errno; };
    return s;
}

std::unique_ptr<I2cDevAdapter> I2cDevAdapter::Open(const std::string& device, I2cDevSystem system,
                                                   std::string* error) {
    const std::string instead = "): use an i2c-dev adapter, /dev/i2c-N (isphost buses lists "
                                "them), or a USB adapter (--bus ch341, ftdi, mcp2221)";
    const int fd = system.open(device.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0 && system.lastError() == EISDIR) {
        *error = device + ": not an I2C adapter (a folder" + instead;
        return nullptr;
    }
    if (fd < 0) {
        *error = "cannot open the I2C adapter " + device + ": " + std::strerror(system.lastError());
        return nullptr;
    }
    if (system.flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int reason = system.lastError();
        system.close(fd);
        *error = reason == EWOULDBLOCK
                     ? "bus busy: another program holds " + device + " (one command at a time)"
                     : "cannot lock the I2C adapter " + device + ": " + std::strerror(reason);
        return nullptr;
    }
    // Every i2c-dev adapter answers I2C_FUNCS; /dev/null or a plain file does not.
    unsigned long functions = 0;
    if (system.ioctl(fd, I2C_FUNCS, &functions) != 0) {
        const int reason = system.lastError();
        system.close(fd);
        *error = device + ": not an I2C adapter (I2C_FUNCS: " + std::strerror(reason) + instead;
        return nullptr;
    }
    // An adapter that only speaks SMBus cannot carry a 257-byte write.
    const bool plain = (functions & I2C_FUNC_I2C) != 0;
    return std::unique_ptr<I2cDevAdapter>(new I2cDevAdapter(device, std::move(system), fd, plain));
}

I2cDevAdapter::~I2cDevAdapter() {
    if (fd_ >= 0)
        system_.close(fd_);
}

AdapterCapabilities I2cDevAdapter::Capabilities() const {
    AdapterCapabilities c;
    c.name = device_;
    c.maxWrite = c.maxRead = kMaxMessage;
    c.plainI2c = plainI2c_;
    c.seesAcknowledge = true;
    return c;
}

bool I2cDevAdapter::Write(uint8_t address, const uint8_t* data, int count, std::string* error) {
    // The kernel takes a non-const buffer for both directions; a copy keeps `data` intact.
    std::vector<uint8_t> copy(data, data + count);
    return Transfer(address, false, count, copy.data(), error);
}

bool I2cDevAdapter::Read(uint8_t address, uint8_t* data, int count, std::string* error) {
    return Transfer(address, true, count, data, error);
}

bool I2cDevAdapter::TakesWrite(int count) {
    if (count > kMaxMessage)
        return false;
    std::vector<uint8_t> probe(static_cast<size_t>(count), 0xFF);
    std::string reason;
    if (Transfer(kReservedAddress, false, count, probe.data(), &reason))
        return true;
    // Drivers that check lengths themselves refuse with EINVAL, also before the bus.
    return lastErrno_ != EOPNOTSUPP && lastErrno_ != EINVAL;
}

bool I2cDevAdapter::Transfer(uint8_t address, bool read, int count, uint8_t* data,
                             std::string* error) {
    if (count > kMaxMessage) {
        *error = "longer than i2c-dev carries";
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
        lastErrno_ = system_.lastError();
        *error = std::strerror(lastErrno_);
        return false;
    }
    return true;
}

std::unique_ptr<HostBus> OpenI2cDevBus(const BusSetup& setup, std::string* error) {
    auto adapter = I2cDevAdapter::Open(setup.options.bus, RealI2cDevSystem(), error);
    if (!adapter)
        return nullptr;
    return std::make_unique<AdapterHostBus>(std::move(adapter));
}

std::vector<BusListing> ListI2cDevBuses(std::string* note) {
    namespace fs = std::filesystem;
    std::vector<BusListing> found;
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator("/sys/class/i2c-dev", ec)) {
        BusListing l;
        l.bus = "/dev/" + entry.path().filename().string();
        std::ifstream name(entry.path() / "name");
        if (!name)
            name.open(entry.path() / "device" / "name");
        std::getline(name, l.what);
        l.what = Trim(l.what);
        std::string error;
        auto adapter = I2cDevAdapter::Open(l.bus, RealI2cDevSystem(), &error);
        l.answer = adapter ? ProbeChip(*adapter).Describe() : error;
        found.push_back(l);
    }
    std::sort(found.begin(), found.end(), [](const BusListing& a, const BusListing& b) {
        return a.bus.size() != b.bus.size() ? a.bus.size() < b.bus.size() : a.bus < b.bus;
    });
    if (found.empty())
        *note = "none (is the i2c-dev module loaded? sudo modprobe i2c-dev)";
    return found;
}

} // namespace rtd::host

// The system calls under the hidraw transport.
#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

#include "HidrawPorts.h"

namespace rtd::host::mcp2221 {

namespace {

class PosixHidraw : public HidrawCalls {
public:
    std::vector<std::string> ClassEntries() override {
        std::vector<std::string> names;
        if (DIR* dir = opendir("/sys/class/hidraw")) {
            while (const dirent* e = readdir(dir))
                names.push_back(e->d_name);
            closedir(dir);
        }
        return names;
    }
    bool ReadText(const std::string& path, std::string* text) override {
        std::ifstream in(path);
        if (!in)
            return false;
        std::ostringstream s;
        s << in.rdbuf();
        *text = s.str();
        return true;
    }
    int OpenLocked(const std::string& path) override {
        const int fd = open(path.c_str(), O_RDWR | O_CLOEXEC);
        if (fd < 0)
            return -errno;
        if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int e = errno;
            close(fd);
            return -e;
        }
        return fd;
    }
    long Write(int fd, const uint8_t* data, size_t size) override {
        const ssize_t n = write(fd, data, size);
        return n < 0 ? -errno : static_cast<long>(n);
    }
    long Read(int fd, uint8_t* data, size_t size, int timeoutMs) override {
        pollfd p = {fd, POLLIN, 0};
        const int r = poll(&p, 1, timeoutMs);
        if (r < 0)
            return -errno;
        if (r == 0)
            return 0;
        if (p.revents & (POLLERR | POLLHUP | POLLNVAL))
            return -ENODEV;
        const ssize_t n = read(fd, data, size);
        return n < 0 ? -errno : static_cast<long>(n);
    }
    void Close(int fd) override { close(fd); }
    std::string ErrorText(int error) override { return std::strerror(error); }
};

} // namespace

Mcp2221Ports& SystemPorts() {
    static PosixHidraw calls;
    static HidrawPorts ports(&calls);
    return ports;
}

} // namespace rtd::host::mcp2221

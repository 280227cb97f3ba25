#include "HidrawPorts.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>

#include "Mcp2221Encoder.h"

namespace rtd::host::mcp2221 {

namespace {

constexpr const char* kClass = "/sys/class/hidraw/";

// A number after "hidraw", so that hidraw10 comes after hidraw9.
long NodeNumber(const std::string& entry) {
    return std::strtol(entry.c_str() + 6, nullptr, 10);
}

class HidrawLink : public ByteLink {
public:
    HidrawLink(HidrawCalls* calls, int fd, std::string path)
        : calls_(calls), fd_(fd), path_(std::move(path)) {}
    ~HidrawLink() override { calls_->Close(fd_); }

    bool Send(const std::vector<uint8_t>& data, std::string* error) override {
        // The device has no numbered reports: hidraw wants a report ID of 0 first.
        std::vector<uint8_t> out(1, 0);
        out.insert(out.end(), data.begin(), data.end());
        const long n = calls_->Write(fd_, out.data(), out.size());
        if (n == static_cast<long>(out.size()))
            return true;
        *error = n < 0 ? Failed(static_cast<int>(-n)) : "USB transfer failed: short write";
        return false;
    }

    bool Receive(size_t size, std::vector<uint8_t>* data, std::string* error) override {
        data->assign(size, 0);
        const long n = calls_->Read(fd_, data->data(), size, kTimeoutMs);
        if (n == static_cast<long>(size))
            return true;
        data->resize(n > 0 ? static_cast<size_t>(n) : 0);
        *error = n < 0    ? Failed(static_cast<int>(-n))
                 : n == 0 ? "USB transfer failed: Operation timed out"
                          : "USB transfer failed: short report";
        return false;
    }

private:
    std::string Failed(int error) {
        if (error == ENODEV)
            return "USB transfer failed: No such device (it may have been disconnected)";
        return "USB transfer failed: " + calls_->ErrorText(error);
    }

    HidrawCalls* calls_;
    int fd_;
    std::string path_;
};

} // namespace

std::string UeventValue(const std::string& text, const std::string& key) {
    const std::string head = key + "=";
    size_t at = 0;
    while (at < text.size()) {
        const size_t end = std::min(text.find('\n', at), text.size());
        if (text.compare(at, head.size(), head) == 0)
            return text.substr(at + head.size(), end - at - head.size());
        at = end + 1;
    }
    return "";
}

bool IsMcp2221HidId(const std::string& hidId) {
    // bus:vendor:product, each in hex; bus 0003 is USB.
    const size_t a = hidId.find(':'), b = hidId.rfind(':');
    if (a == std::string::npos || a == b)
        return false;
    const auto hex = [](const std::string& t) { return std::strtoul(t.c_str(), nullptr, 16); };
    return hex(hidId.substr(0, a)) == 3 && hex(hidId.substr(a + 1, b - a - 1)) == kVendor &&
           hex(hidId.substr(b + 1)) == kProduct;
}

std::vector<HidPort> HidrawPorts::List(std::string*) {
    std::vector<std::string> entries = calls_->ClassEntries();
    std::sort(entries.begin(), entries.end(), [](const std::string& x, const std::string& y) {
        return NodeNumber(x) < NodeNumber(y);
    });
    std::vector<HidPort> ports;
    for (const std::string& entry : entries) {
        std::string uevent;
        if (entry.rfind("hidraw", 0) != 0 ||
            !calls_->ReadText(kClass + entry + "/device/uevent", &uevent) ||
            !IsMcp2221HidId(UeventValue(uevent, "HID_ID")))
            continue;
        const std::string serial = UeventValue(uevent, "HID_UNIQ");
        ports.push_back({"/dev/" + entry, "MCP2221A on /dev/" + entry +
                                              (serial.empty() ? "" : " serial " + serial)});
    }
    return ports;
}

std::unique_ptr<ByteLink> HidrawPorts::Open(const HidPort& port, std::string* error) {
    const int fd = calls_->OpenLocked(port.path);
    if (fd >= 0) {
        // An answer left by a run that ended mid-exchange would pair every later request
        // with the answer to the one before it.
        uint8_t stale[kReportSize + 1];
        for (int i = 0; i < 64 && calls_->Read(fd, stale, sizeof stale, 0) > 0; ++i) {
        }
        return std::make_unique<HidrawLink>(calls_, fd, port.path);
    }
    const int e = -fd;
    if (e == EWOULDBLOCK)
        *error = "bus busy: another program holds the MCP2221A on " + port.path +
                 " (one command at a time)";
    else if (e == EACCES || e == EPERM)
        *error = "no permission to open the MCP2221A on " + port.path +
                 ": install host/udev/60-rtd2120-adapters.rules (docs/ADAPTERS.md)";
    else
        *error = "cannot open the MCP2221A on " + port.path + ": " + calls_->ErrorText(e);
    return nullptr;
}

} // namespace rtd::host::mcp2221

#include "WinHidPorts.h"

#include <algorithm>

namespace rtd::host::mcp2221 {

namespace {

class WinHidLink : public ByteLink {
public:
    WinHidLink(WinHidCalls* calls, WinHidCalls::Handle handle) : calls_(calls), handle_(handle) {}
    ~WinHidLink() override { calls_->Close(handle_); }

    bool Send(const std::vector<uint8_t>& data, std::string* error) override {
        std::vector<uint8_t> out(1, 0); // report ID 0: the device numbers no reports
        out.insert(out.end(), data.begin(), data.end());
        unsigned long e = 0;
        if (calls_->Write(handle_, out.data(), out.size(), kTimeoutMs, &e))
            return true;
        *error = Failed(e);
        return false;
    }

    bool Receive(size_t size, std::vector<uint8_t>* data, std::string* error) override {
        std::vector<uint8_t> in(size + 1, 0);
        size_t got = 0;
        unsigned long e = 0;
        data->clear();
        if (!calls_->Read(handle_, in.data(), in.size(), &got, kTimeoutMs, &e)) {
            *error = Failed(e);
            return false;
        }
        if (got != in.size()) {
            *error = "USB transfer failed: short report";
            return false;
        }
        data->assign(in.begin() + 1, in.end());
        return true;
    }

private:
    std::string Failed(unsigned long e) {
        if (e == kWinTimeout)
            return "USB transfer failed: Operation timed out";
        if (e == kWinNotConnected)
            return "USB transfer failed: No such device (it may have been disconnected)";
        return "USB transfer failed: " + calls_->ErrorText(e);
    }

    WinHidCalls* calls_;
    WinHidCalls::Handle handle_;
};

} // namespace

std::vector<HidPort> WinHidPorts::List(std::string*) {
    std::vector<HidPort> ports;
    std::vector<std::string> paths = calls_->DevicePaths();
    std::sort(paths.begin(), paths.end()); // the same order on every run
    for (const std::string& path : paths) {
        unsigned long e = 0;
        WinHidCalls::Handle h = calls_->Open(path, false, &e);
        if (!h)
            continue;
        unsigned vendor = 0, product = 0;
        if (calls_->Attributes(h, &vendor, &product) && vendor == kVendor && product == kProduct) {
            const std::string serial = calls_->Serial(h);
            ports.push_back({path, "MCP2221A" + (serial.empty() ? "" : " serial " + serial)});
        }
        calls_->Close(h);
    }
    return ports;
}

std::unique_ptr<ByteLink> WinHidPorts::Open(const HidPort& port, std::string* error) {
    unsigned long e = 0;
    WinHidCalls::Handle h = calls_->Open(port.path, true, &e);
    if (h) {
        // An answer left by a run that ended mid-exchange would pair every later request
        // with the answer to the one before it.
        calls_->Flush(h);
        return std::make_unique<WinHidLink>(calls_, h);
    }
    if (e == kWinSharingViolation)
        *error = "bus busy: another program holds the MCP2221A (one command at a time)";
    else
        *error = "cannot open the MCP2221A: " + calls_->ErrorText(e);
    return nullptr;
}

} // namespace rtd::host::mcp2221

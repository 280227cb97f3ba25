#include "LinkFaults.h"

#include <cstdlib>

namespace rtd::host {

namespace {

// The texts libusb gives for the same events, so a dry run reads like the real thing.
constexpr const char* kTimedOut = "USB transfer failed: Operation timed out";
constexpr const char* kGone = "USB transfer failed: No such device (it may have been disconnected)";

std::string FaultName(const std::string& fault) {
    return fault.substr(0, fault.find('='));
}

} // namespace

bool ParseFaultCount(const std::string& text, long* value) {
    if (text.empty() || text.size() > 9 ||
        text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    *value = std::strtol(text.c_str(), nullptr, 10);
    return *value >= 1;
}

bool FaultyLink::Knows(const std::string& fault) {
    const std::string name = FaultName(fault);
    return name == "usb-fail" || name == "unplug";
}

bool FaultyLink::AddFault(const std::string& fault, std::string* error) {
    const size_t equals = fault.find('=');
    long value = 0;
    if (!Knows(fault) || equals == std::string::npos ||
        !ParseFaultCount(fault.substr(equals + 1), &value)) {
        *error = "'" + fault + "' is not a link fault (usb-fail=U or unplug=U, U counted from 1)";
        return false;
    }
    (FaultName(fault) == "usb-fail" ? failAt_ : unplugAt_) = value;
    return true;
}

bool FaultyLink::Fails(std::string* error) {
    ++transfers_;
    if (unplugAt_ && transfers_ >= unplugAt_) {
        *error = kGone;
        return true;
    }
    if (transfers_ == failAt_) {
        *error = kTimedOut;
        return true;
    }
    return false;
}

bool FaultyLink::Send(const std::vector<uint8_t>& data, std::string* error) {
    if (Fails(error))
        return false;
    return inner_->Send(data, error);
}

bool FaultyLink::Receive(size_t size, std::vector<uint8_t>* data, std::string* error) {
    if (Fails(error)) {
        data->clear();
        return false;
    }
    return inner_->Receive(size, data, error);
}

} // namespace rtd::host

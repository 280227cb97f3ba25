#include "FaultAfterBus.h"

#include <cstdio>

namespace rtd::test {

namespace {

// Long enough to outlast every poll limit of the protocol.
constexpr const char* kForever = "1000";

} // namespace

const char* FaultName(Fault fault) {
    switch (fault) {
    case Fault::NoIsp:
        return "no-isp";
    case Fault::EraseBusy:
        return "erase-busy";
    case Fault::PageBusy:
        return "page-busy";
    case Fault::CrcRangeBusy:
        return "crc-range-busy";
    case Fault::CrcBusy:
        return "crc-busy";
    case Fault::ReadFail:
        return "read-fail";
    case Fault::DropWrites:
        return "drop-writes";
    case Fault::StuckBit:
        return "stuck-bit";
    }
    return "?";
}

std::string FaultFromTransfer(Fault fault, int k) {
    return std::string(FaultName(fault)) + " from transfer " + std::to_string(k);
}

bool FaultAfterBus::Tick() {
    const int index = calls_++;
    if (index != k_)
        return index > k_;
    const std::string forever = kForever;
    switch (fault_) {
    case Fault::NoIsp:
        chip_->AddFault("no-isp");
        break;
    case Fault::EraseBusy:
        chip_->AddFault("erase-busy=" + forever);
        break;
    case Fault::PageBusy:
        chip_->AddFault("page-busy=" + forever);
        break;
    case Fault::CrcRangeBusy:
        chip_->AddFault("crc-range-busy=" + forever);
        break;
    case Fault::CrcBusy:
        chip_->AddFault("crc-busy=" + forever);
        break;
    case Fault::StuckBit:
        for (int bank = 0; bank < 2; ++bank) {
            char fault[32];
            std::snprintf(fault, sizeof fault, "stuck=%d:%X", bank, kStuckAddress[bank]);
            chip_->AddFault(fault);
        }
        break;
    case Fault::ReadFail:
    case Fault::DropWrites:
        break; // applied here, call by call
    }
    return true;
}

bool FaultAfterBus::IicWrite(uint8_t address, int count, const uint8_t* data) {
    if (Tick() && fault_ == Fault::DropWrites)
        return false;
    return ForwardingBus::IicWrite(address, count, data);
}

bool FaultAfterBus::IicRead(uint8_t address, int count, uint8_t* data) {
    if (Tick() && fault_ == Fault::ReadFail)
        return false;
    return ForwardingBus::IicRead(address, count, data);
}

} // namespace rtd::test

#include "SimAdapter.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace rtd::host {

namespace {

constexpr const char* kNotAcknowledged = "address not acknowledged";

} // namespace

const std::vector<sim::FaultForm>& SimAdapter::LimitForms() {
    // clang-format off
    static const std::vector<sim::FaultForm> forms = {
        {"max-write=N", "max-write=61", "writes longer than N bytes are refused"},
        {"nack=ADDR",   "nack=4B",      "nothing acknowledges 7-bit ADDR (hex: 4A, 4B)"},
        {"no-pullups",  "no-pullups",   "no write is acknowledged, every read answers FF"},
        {"swap=N",      "swap=3",       "station: after each board the chip is gone for N\n"
                                        "bus writes (a probe is one), then a new board\n"
                                        "answers: blank, without the --sim-fault faults"},
    };
    // clang-format on
    return forms;
}

bool SimAdapter::Setup(const BusOptions& options, std::string* error) {
    for (const std::string& limit : options.simAdapter)
        if (!AddLimit(limit, error))
            return false;
    return model_.Setup(options, nullptr, nullptr, error);
}

bool SimAdapter::AddLimit(const std::string& limit, std::string* error) {
    const size_t equals = limit.find('=');
    const std::string name = limit.substr(0, equals);
    const std::string value = equals == std::string::npos ? "" : limit.substr(equals + 1);
    long number = 0;
    if (name == "no-pullups" && equals == std::string::npos) {
        noPullups_ = true;
        return true;
    }
    if (name == "max-write" && ParseFaultCount(value, &number) && number <= 65535) {
        maxWrite_ = static_cast<int>(number);
        return true;
    }
    if (name == "swap" && ParseFaultCount(value, &number) && number <= 1000000) {
        swapWrites_ = static_cast<int>(number);
        return true;
    }
    char* end = nullptr;
    if (name == "nack" && value.size() >= 1 && value.size() <= 2 &&
        (number = std::strtol(value.c_str(), &end, 16), *end == '\0') && number < 0x80) {
        nacked_ = static_cast<int>(number);
        return true;
    }
    *error = "--sim-adapter " + limit +
             ": takes max-write=N (bytes, from 1), nack=ADDR (7-bit, hex), no-pullups or "
             "swap=N (writes, from 1)";
    return false;
}

AdapterCapabilities SimAdapter::Capabilities() const {
    AdapterCapabilities c;
    c.name = "sim";
    c.maxWrite = maxWrite_;
    c.maxRead = 65535;
    c.plainI2c = c.seesAcknowledge = true;
    return c;
}

void SimAdapter::BoardDone() {
    absentLeft_ = swapWrites_;
}

bool SimAdapter::Refused(uint8_t address, std::string* error) const {
    if (nacked_ == address >> 1 || noPullups_ || absentLeft_ > 0) {
        *error = kNotAcknowledged;
        return true;
    }
    return false;
}

bool SimAdapter::Write(uint8_t address, const uint8_t* data, int count, std::string* error) {
    if (count > maxWrite_) {
        *error = "Operation not supported (the adapter carries at most " +
                 std::to_string(maxWrite_) + " bytes)";
        return false;
    }
    if (absentLeft_ > 0 && --absentLeft_ == 0) {
        // The next board: blank, out of ISP mode, without the first board's faults.
        sim::ChipModel& chip = model_.Chip();
        chip.ClearFaults();
        chip.PowerCycle();
        for (int bank = 0; bank < 2; ++bank)
            std::fill(chip.Flash(bank).begin(), chip.Flash(bank).end(), uint8_t{0xFF});
        *error = kNotAcknowledged;
        return false;
    }
    if (Refused(address, error))
        return false;
    // An address alone reaches no register: only the acknowledge bit answers.
    const bool acknowledged = count == 0 ? model_.Chip().Acknowledges(address)
                                         : model_.Chip().IicWrite(address, count, data);
    if (!acknowledged)
        *error = kNotAcknowledged;
    return acknowledged;
}

bool SimAdapter::Read(uint8_t address, uint8_t* data, int count, std::string* error) {
    if (noPullups_) {
        std::memset(data, 0xFF, static_cast<size_t>(count));
        return true;
    }
    if (Refused(address, error))
        return false;
    if (model_.Chip().IicRead(address, count, data))
        return true;
    *error = kNotAcknowledged;
    return false;
}

} // namespace rtd::host

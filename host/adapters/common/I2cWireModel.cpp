#include "I2cWireModel.h"

#include <cstring>

#include "LinkFaults.h"

namespace rtd::host {

namespace {

std::string FaultName(const std::string& fault) {
    return fault.substr(0, fault.find('='));
}

} // namespace

bool I2cWireModel::Knows(const std::string& fault) {
    const std::string name = FaultName(fault);
    return name == "nack-address" || name == "nack-data";
}

const std::vector<sim::FaultForm>& I2cWireModel::Forms() {
    static const std::vector<sim::FaultForm> forms = {
        {"nack-address", "nack-address", "nothing acknowledges its address"},
        {"nack-address=T", "nack-address=3", "addresses acknowledged up to bus transfer T-1 only"},
        {"nack-data=T:B", "nack-data=2:1",
         "bus transfer T stops being acknowledged at data byte B"},
    };
    return forms;
}

bool I2cWireModel::AddFault(const std::string& fault, std::string* error) {
    const std::string name = FaultName(fault);
    const size_t equals = fault.find('=');
    const std::string value = equals == std::string::npos ? "" : fault.substr(equals + 1);
    if (name == "nack-address" && equals == std::string::npos) {
        nackAll_ = true;
        return true;
    }
    if (name == "nack-address" && ParseFaultCount(value, &nackFrom_))
        return true;
    const size_t colon = value.find(':');
    if (name == "nack-data" && colon != std::string::npos &&
        ParseFaultCount(value.substr(0, colon), &nackDataAt_) &&
        ParseFaultCount(value.substr(colon + 1), &nackDataByte_))
        return true;
    *error = "'" + fault + "' is not a bus fault (" + sim::FaultFormList(Forms()) + ")";
    return false;
}

void I2cWireModel::Start() {
    Finish();
    open_ = true;
    ++transactions_;
    refused_ = false;
    afterRefusal_ = 0;
}

bool I2cWireModel::WriteByte(uint8_t byte) {
    if (!open_)
        return false; // no START: no device listens
    if (refused_)
        ++afterRefusal_;
    const bool taken = Take(byte);
    refused_ = refused_ || !taken;
    return taken;
}

bool I2cWireModel::Take(uint8_t byte) {
    if (!haveAddress_) {
        haveAddress_ = true;
        address_ = byte;
        const bool silenced = nackAll_ || (nackFrom_ && transactions_ >= nackFrom_);
        acknowledged_ = !silenced && chip_->Acknowledges(byte);
        return acknowledged_;
    }
    if (!acknowledged_ || (address_ & 1) || cutShort_)
        return false;
    if (transactions_ == nackDataAt_ && static_cast<long>(written_.size()) + 1 >= nackDataByte_) {
        cutShort_ = true;
        return false;
    }
    written_.push_back(byte);
    return true;
}

void I2cWireModel::ReadBytes(int count, uint8_t* data) {
    if (count <= 0)
        return;
    std::memset(data, 0xFF, static_cast<size_t>(count));
    if (open_ && haveAddress_ && acknowledged_ && (address_ & 1))
        chip_->IicRead(address_, count, data); // a failing chip leaves the pull-ups' 0xFF
}

void I2cWireModel::Stop() {
    Finish();
}

void I2cWireModel::Finish() {
    if (open_ && acknowledged_ && !(address_ & 1) && !written_.empty())
        chip_->IicWrite(address_, static_cast<int>(written_.size()), written_.data());
    open_ = haveAddress_ = acknowledged_ = cutShort_ = false;
    written_.clear();
}

} // namespace rtd::host

#include "FailureDiagnosis.h"

#include "AdapterBus.h"
#include "ChipRegisters.h"

namespace rtd::host {

using image::kCrcControl;
using image::kEntry;
using image::kIspBank0;
using image::kIspBank1;
using image::kIspControl;
using image::kPageData;
using image::kRegisterRead;
using image::kRegisterWrite;
using image::kStartErase;

bool FailureDiagnosis::IicWrite(uint8_t address, int count, const uint8_t* data) {
    if (address == kRegisterWrite && count == 1 && data) {
        named_ = data[0];
    } else if (address == kRegisterWrite && count >= 2 && data) {
        const bool select =
            data[0] == kIspControl && (data[1] == kIspBank0 || data[1] == kIspBank1);
        if (select)
            bank_ = data[1] == kIspBank1 ? 1 : 0;
        afterEntry_ = data[0] == kEntry;
        // Attempts of one entry follow each other with only the bank 0 select between.
        if (afterEntry_ && otherWrite_)
            entries_.clear();
        if (afterEntry_)
            otherWrite_ = false;
        else if (!select || data[1] != kIspBank0)
            otherWrite_ = true;
    } else {
        otherWrite_ = true;
    }
    const bool ok = ForwardingBus::IicWrite(address, count, data);
    // Only what the chip acknowledged changed its flash; an erase clears what came before.
    if (ok && address == kRegisterWrite && count >= 2 && data) {
        if (data[0] == kIspControl && data[1] == kStartErase) {
            erased_ = true;
            written_ = false;
        } else if (data[0] == kPageData && count > 2) {
            written_ = true;
        }
    }
    return ok;
}

bool FailureDiagnosis::IicRead(uint8_t address, int count, uint8_t* data) {
    const bool ok = ForwardingBus::IicRead(address, count, data);
    if (address == kRegisterRead && count == 1 && data &&
        (named_ == kIspControl || named_ == kCrcControl)) {
        if (named_ == kIspControl && afterEntry_)
            entries_.push_back(data[0]);
        // Whether reads look stuck is judged from the chip's answers since it last
        // entered ISP mode.
        if (afterEntry_ && data[0] == kIspBank0) {
            statusReads_ = statusReadsFF_ = 0;
        } else {
            ++statusReads_;
            statusReadsFF_ += data[0] == 0xFF;
        }
        afterEntry_ = false;
    }
    return ok;
}

std::vector<std::string> FailureDiagnosis::Explain(const std::string& lastLine,
                                                   int failedTransfers) const {
    std::vector<std::string> lines;
    // The plug-in's lines for a chip that did not enter ISP mode: write, erase, reset.
    const bool notEntered = lastLine == "Enter isp error!" || lastLine == "Enter Isp fail." ||
                            lastLine == "Enter isp error.";
    if (lastLine == "Crc Error!") {
        const std::string reads = std::to_string(statusReads_) + " status reads";
        std::string why;
        if (statusReads_ > 0 && statusReadsFF_ == statusReads_)
            why = "all " + reads +
                  " answered FF: the reads look stuck, which points to the bus "
                  "(wiring, pull-ups, power), not to the flash";
        else if (failedTransfers > 0)
            why = "the adapter failed " + std::to_string(failedTransfers) +
                  " transfers: what they carried never reached the chip";
        else
            why = "the bus carried every transfer and the status reads did not look stuck: the "
                  "flash holds other bytes than were sent";
        lines.push_back("diagnosis: the chip's CRC-8 of bank " + std::to_string(bank_) +
                        " does not match what was written; " + why);
    } else if (notEntered) {
        std::string bytes;
        for (uint8_t status : entries_)
            bytes += (bytes.empty() ? "" : " ") + HexByte(status);
        lines.push_back("diagnosis: the chip did not enter ISP mode; the status after each entry "
                        "attempt read " +
                        (bytes.empty() ? std::string("nothing") : bytes) + " (ISP mode reads 40" +
                        (bytes.find("FF") != std::string::npos
                             ? "; FF is what a bus with nobody answering reads)"
                             : ")"));
    }
    if (failedTransfers == 0)
        lines.push_back("diagnosis: the adapter reported no failed bus transfer");
    return lines;
}

std::string FailureDiagnosis::ChipHolds() const {
    if (written_)
        return "the chip is erased and partly written: run write again";
    return erased_ ? "the chip is erased" : "the chip is untouched";
}

} // namespace rtd::host

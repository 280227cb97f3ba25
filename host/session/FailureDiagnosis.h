// What the host can tell about a failed command from the transfers it carried: a bus
// decorator that watches the plug-in's register traffic (which bank was selected, what
// the status reads answered) and, after a failed export, explains the plug-in's last
// line in the host's own words. These lines go to the host's output, never to the
// plug-in's message list.
#ifndef RTD_HOST_SESSION_FAILUREDIAGNOSIS_H
#define RTD_HOST_SESSION_FAILUREDIAGNOSIS_H

#include <string>
#include <vector>

#include "ForwardingBus.h"

namespace rtd::host {

class FailureDiagnosis : public ForwardingBus {
public:
    explicit FailureDiagnosis(TIicInterface* inner) : ForwardingBus(inner) {}
    virtual ~FailureDiagnosis() = default;

    bool IicWrite(uint8_t address, int count, const uint8_t* data) override;
    bool IicRead(uint8_t address, int count, uint8_t* data) override;

    // The host's lines for a command that failed with `lastLine` as the plug-in's last
    // message; `failedTransfers` is how many the adapter reported as failed.
    std::vector<std::string> Explain(const std::string& lastLine, int failedTransfers) const;

    // What the flash holds after the command, from the erase and page writes the chip
    // acknowledged: "the chip is untouched", "the chip is erased", or "the chip is erased
    // and partly written: run write again".
    std::string ChipHolds() const;
    // The bank the plug-in selected last.
    int SelectedBank() const { return bank_; }

private:
    uint8_t named_ = 0;            // register named by the last one-byte write to 0x94
    bool afterEntry_ = false;      // the last register write was the entry (36 00)
    bool otherWrite_ = false;      // since the last entry: a write that is no bank 0 select
    int bank_ = 0;                 // selected by the last 90 40 / 90 60
    std::vector<uint8_t> entries_; // status read after each attempt of the last entry
    int statusReads_ = 0;          // reads of 0x90 and 0xA2 since the last entry
    int statusReadsFF_ = 0;
    bool erased_ = false;  // an erase was acknowledged
    bool written_ = false; // a page was acknowledged since
};

} // namespace rtd::host

#endif

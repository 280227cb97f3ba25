// The faults the chip model can be told to show, and the parser for their text form.
#ifndef RTD_SIM_FAULTS_H
#define RTD_SIM_FAULTS_H

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace rtd::sim {

// Every field is the combined effect of the faults added so far. Busy counts are extra
// status reads; where two faults name the same busy time, the longer one wins.
struct Faults {
    bool noIsp = false;
    int ispAfter = 1;                         // the first entry attempt that may succeed (from 1)
    int eraseBusy = 0;                        // extra busy reads of every erase
    int pageBusy = 0;                         // extra busy reads of every page
    std::map<int, int> pageBusyAt;            // page number -> extra busy reads of that page only
    int crcRangeBusy = 0;                     // extra busy reads of the CRC range setup
    int crcBusy = 0;                          // extra busy reads of the CRC engine
    std::set<std::pair<int, uint32_t>> stuck; // (bank, address) of unprogrammable bytes
    bool readFail = false;
    bool dropWrites = false;
    int powerCutAt = -1; // the chip's first unanswered transfer (from 0); -1 none

    // Extra busy reads for programming the page with this number.
    int PageBusyFor(int page) const;
    bool IsStuck(int bank, uint32_t address) const;
};

// One fault as --help and the man page show it. Rows of the same shape describe the faults
// of the adapter models and the limits of the simulated adapter.
struct FaultForm {
    const char* form;    // "page-busy=N[@K]"
    const char* example; // a text the parser takes: "page-busy=3@2"
    const char* help;    // a '\n' starts a continuation line
};

// The chip's faults, in the order --help lists them.
const std::vector<FaultForm>& ChipFaultForms();

// "no-isp, isp-after=N, ..." for a reason line.
std::string FaultFormList(const std::vector<FaultForm>& forms);

// Adds the fault named by `fault` (e.g. "page-busy=12@3") to `faults`. On a text that is
// not a fault, leaves `faults` unchanged, stores a one-line reason and returns false.
bool ParseFault(const std::string& fault, Faults& faults, std::string* error);

} // namespace rtd::sim

#endif

// What a command that drives the chip did, for its summary lines and the --json result
// object.
#ifndef RTD_HOST_COMMANDREPORT_H
#define RTD_HOST_COMMANDREPORT_H

#include <cstdint>
#include <string>
#include <vector>

#include "BusStats.h"

namespace rtd::host {

struct BankReport {
    int bank = 0;
    uint32_t bytesWritten = 0; // what the file puts in the bank: the window less its trailing 0xFF
    int pagesSent = 0;         // pages of the plan holding data
    uint8_t crc = 0;           // CRC-8 of the file's bytes over the range the chip checks
    uint16_t crcEnd = 0;       // that range's last address, from 0
    bool wholeBank = false;    // the range is the whole bank, not the written length
    // verify: what the chip answered
    bool checked = false; // the bank was compared
    bool chipAnswered = false;
    uint8_t chipCrc = 0;
    bool Matches() const { return checked && chipAnswered && chipCrc == crc; }
};

struct CommandReport {
    std::string command;           // "write", "verify", ...
    std::string file;              // the firmware file, when the command has one
    int status = 0;                // the exit status
    bool skipped = false;          // write --if-different: every bank matched, nothing written
    std::vector<BankReport> banks; // write and verify: the plan's banks
    double seconds = 0;            // the command's own time, set-up excluded
    bool stats = false;            // --stats: `bus` is part of the report
    BusCounts bus;                 // every transfer of the command
    std::string error;             // the first error line, else a failed command's last line
};

// "0x5A"
std::string HexCrc(uint8_t crc);

// "banks 0 and 1", "bank 0"
std::string BankList(const std::vector<BankReport>& banks);

// After a write: "Summary: banks 0 and 1, 98304 bytes written, 384 pages sent, CRC-8
// 0x5A 0x13, 2.416 s".
std::string SummaryLine(const CommandReport& report);
// --stats: bus calls, bytes, waits against wall time, projected bus time.
std::string StatsLine(const CommandReport& report);

// The --json result object, without a line end.
std::string ResultJson(const CommandReport& report);

} // namespace rtd::host

#endif

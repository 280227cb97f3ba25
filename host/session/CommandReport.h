// What a command that drives the chip did, for its summary lines and the --json result
// object.
#ifndef RTD_HOST_SESSION_COMMANDREPORT_H
#define RTD_HOST_SESSION_COMMANDREPORT_H

#include <cstdint>
#include <string>
#include <vector>

#include "BusStats.h"
#include "UsbCounts.h"

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
    bool programs = false;         // a write: `skipped` is part of the report
    bool skipped = false;          // write --if-different: every bank matched, nothing written
    std::vector<BankReport> banks; // write and verify: the plan's banks
    double seconds = 0;            // the command's own time, set-up excluded
    bool stats = false;            // --stats: `bus` is part of the report
    BusCounts bus;                 // every transfer of the command
    int busSpeedKhz = 0;           // the clock the command ran at
    bool usbCounted = false;       // a USB adapter: `usb` is part of the report
    std::string usbUncounted;      // a USB adapter whose transfers are out of sight: why
    UsbCounts usb;                 // what its USB link carried for the command
    std::string error;             // the first error line, else a failed command's last line
    bool succeeded = false;        // the command itself: the export's result, verify's match
};

// "0x5A"
std::string HexCrc(uint8_t crc);

} // namespace rtd::host

#endif

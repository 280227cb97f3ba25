// isphost verify: asks the chip for the CRC-8 of every bank a write of a file programs and
// compares it with the file's, through the isp library's own ISP commands. Nothing is
// erased or written.
#ifndef RTD_HOST_SESSION_VERIFY_H
#define RTD_HOST_SESSION_VERIFY_H

#include <string>

#include "CommandReport.h"
#include "FirmwarePlan.h"
#include "RunOutput.h"
#include "rtd2120/rtd2120.h"

namespace rtd::host {

enum class BankRange {
    Written, // the banks a write programs, each over its written length (as the write checks)
    Whole    // both banks over all 65,536 bytes: the flash as a write leaves it
};

// The banks a write of the plan's file programs, with what each writes and its CRC-8, as
// `image info` finds them. False, with `report->error` set, when the file is refused.
bool PlanBanks(const image::FirmwarePlan& plan, BankRange range, CommandReport* report);

// Enters ISP mode, reads the chip's CRC-8 over each bank's range, leaves ISP mode, and
// prints one line per bank; with `failsOnMismatch` a bank that differs is the command's
// failure and its line shows even when the output is quiet. False when the chip did not
// enter ISP mode.
bool ReadBankCrcs(TIicInterface* bus, CommandReport* report, RunOutput* output,
                  bool failsOnMismatch = false);

// True when every bank of the report was compared and matches.
bool AllBanksMatch(const CommandReport& report);

// write --if-different: true when the chip already holds what a write of the plan leaves,
// both banks compared whole, so that bytes past the written length and a bank the file
// does not program (a write erases it) count too.
bool FlashAlreadyHolds(const image::FirmwarePlan& plan, TIicInterface* bus, RunOutput* output);

// The verify command over `bus` (already traced and counted): exit status 0 when every
// bank of the plan matches, 1 otherwise.
int VerifyFile(const image::FirmwarePlan& plan, TIicInterface* bus, CommandReport* report,
               RunOutput* output);

} // namespace rtd::host

#endif

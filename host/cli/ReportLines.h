// The lines and the --json object that tell what a chip command did.
#ifndef RTD_HOST_CLI_REPORTLINES_H
#define RTD_HOST_CLI_REPORTLINES_H

#include <cstdint>
#include <string>
#include <vector>

#include "CommandReport.h"

namespace rtd::host {

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

// The result strip's text after a command: "OK | Write | 1.3 s | bank 0 CRC-8 0x5A,
// bank 1 CRC-8 0x3C", or "FAILED | Write | 0.4 s | Crc Error!".
#ifndef RTD_HOST_GUI_GUIRESULT_H
#define RTD_HOST_GUI_GUIRESULT_H

#include <string>
#include <vector>

namespace rtd::gui {

// Banks a write programmed, as its message lines tell: every bank is written after one
// "Write..." line, bank 0 first.
int BanksWritten(const std::vector<std::string>& lines);

// "bank 0 CRC-8 0x5A, bank 1 CRC-8 0x3C" for the first `banks` banks of what a write of
// `path` programs (the same plan the plug-in's write follows); empty when the file no
// longer loads.
std::string BankSummary(const std::string& path, int banks);

// The bank a write's message line starts ("Fire Bank0..." is bank 0), or -1.
int BankStarted(const std::string& line);

// The strip's text: the result line, then a failure's diagnosis and what the chip holds,
// one line each.
std::string StripText(const std::string& result, const std::vector<std::string>& below);

// Seconds with one decimal: "1.3 s".
std::string Seconds(double seconds);

// "OK | Write | 1.3 s | detail", the detail left out when empty.
std::string ResultText(bool ok, const std::string& command, double seconds,
                       const std::string& detail);

} // namespace rtd::gui

#endif

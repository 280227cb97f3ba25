#include "GuiResult.h"

#include <algorithm>
#include <cstdio>

#include "ImageTools.h"

namespace rtd::gui {

int BanksWritten(const std::vector<std::string>& lines) {
    return static_cast<int>(std::count(lines.begin(), lines.end(), "Write..."));
}

std::string BankSummary(const std::string& path, int banks) {
    // Bank 1 of a HEX write comes from its extend file, which is looked for only with the
    // plug-in's setting on; a second bank written says it was.
    const image::FirmwarePlan plan = host::PlanFor(path, banks > 1);
    if (!plan.Ready())
        return "";
    std::string summary;
    for (int bank = 0; bank < std::min(banks, plan.programBank1 ? 2 : 1); ++bank) {
        char text[32];
        std::snprintf(text, sizeof text, "bank %d CRC-8 0x%02X", bank,
                      static_cast<unsigned>(host::SummarizeBank(plan.Bank(bank)).crc));
        summary += (bank ? ", " : "") + std::string(text);
    }
    return summary;
}

std::string Seconds(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f s", seconds);
    return text;
}

std::string ResultText(bool ok, const std::string& command, double seconds,
                       const std::string& detail) {
    std::string text =
        std::string(ok ? "OK" : "FAILED") + " | " + command + " | " + Seconds(seconds);
    if (!detail.empty())
        text += " | " + detail;
    return text;
}

} // namespace rtd::gui

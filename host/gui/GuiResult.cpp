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
    // The plan's own bank calls, in the order the write makes them.
    const std::vector<image::BankProgram> calls = plan.Banks();
    std::string summary;
    for (size_t i = 0; i < calls.size() && static_cast<int>(i) < banks; ++i) {
        char text[32];
        std::snprintf(text, sizeof text, "bank %d CRC-8 0x%02X", calls[i].bank,
                      static_cast<unsigned>(host::SummarizeBank(calls[i]).crc));
        summary += (i ? ", " : "") + std::string(text);
    }
    return summary;
}

int BankStarted(const std::string& line) {
    const std::string head = "Fire Bank", tail = "...";
    if (line.size() != head.size() + 1 + tail.size() || line.compare(0, head.size(), head) != 0 ||
        line.compare(head.size() + 1, tail.size(), tail) != 0)
        return -1;
    const char digit = line[head.size()];
    return digit >= '0' && digit <= '9' ? digit - '0' : -1;
}

std::string StripText(const std::string& result, const std::vector<std::string>& below) {
    std::string text = result;
    for (const std::string& line : below)
        text += "\n" + line;
    return text;
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

#include "ReportLines.h"

#include <cstdio>

#include "JsonText.h"

namespace rtd::host {

namespace {

std::string Fixed(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string Crcs(const std::vector<BankReport>& banks) {
    std::string text = "CRC-8";
    for (const BankReport& b : banks)
        text += " " + HexCrc(b.crc);
    return text;
}

std::string BankJson(const BankReport& b) {
    JsonObject o;
    o.Add("bank", b.bank).Add("bytes_written", b.bytesWritten).Add("pages_sent", b.pagesSent);
    o.Add("crc", static_cast<int>(b.crc));
    if (b.checked) {
        o.Add("chip_answered", b.chipAnswered);
        if (b.chipAnswered)
            o.Add("chip_crc", static_cast<int>(b.chipCrc));
        o.Add("match", b.Matches());
    }
    return o.Text();
}

std::string StatsJson(const CommandReport& r) {
    const BusCounts& c = r.bus;
    JsonObject o;
    o.Add("bus_calls", c.calls).Add("bus_bytes", c.bytes).Add("page_frames", c.pageFrames);
    o.Add("bus_seconds", c.busSeconds).Add("wait_seconds", c.gapSeconds);
    o.Add("wall_seconds", r.seconds);
    o.Add("projected_bus_seconds_100khz", c.ProjectedSeconds(100));
    o.Add("projected_bus_seconds_400khz", c.ProjectedSeconds(400));
    if (r.usbCounted) {
        const UsbCounts& u = r.usb;
        o.Add("usb_transfers", u.transfersOut + u.transfersIn)
            .Add("usb_round_trips", u.RoundTrips());
        o.Add("usb_bytes_out", u.bytesOut).Add("usb_bytes_in", u.bytesIn);
        o.Add("projected_usb_seconds", u.ProjectedSeconds());
    }
    return o.Text();
}

} // namespace

std::string BankList(const std::vector<BankReport>& banks) {
    std::string list;
    for (size_t i = 0; i < banks.size(); ++i)
        list += (i == 0                  ? ""
                 : i + 1 == banks.size() ? " and "
                                         : ", ") +
                std::to_string(banks[i].bank);
    return (banks.size() == 1 ? "bank " : "banks ") + list;
}

std::string SummaryLine(const CommandReport& r) {
    const std::string pages = std::to_string(r.bus.pageFrames) + " pages sent";
    const std::string time = Fixed(r.seconds, 3) + " s";
    if (r.status != 0 || r.banks.empty())
        return "Summary: write failed, " + pages + ", " + time;
    if (r.skipped)
        return "Summary: " + BankList(r.banks) +
               (r.banks.size() == 1 ? " already matches" : " already match") +
               ", nothing written, " + pages + ", " + Crcs(r.banks) + ", " + time;
    uint32_t bytes = 0;
    for (const BankReport& b : r.banks)
        bytes += b.bytesWritten;
    return "Summary: " + BankList(r.banks) + ", " + std::to_string(bytes) + " bytes written, " +
           pages + ", " + Crcs(r.banks) + ", " + time;
}

std::string StatsLine(const CommandReport& r) {
    const BusCounts& c = r.bus;
    std::string line = "Stats: " + std::to_string(c.calls) + " bus calls, " +
                       std::to_string(c.bytes) + " bytes on the bus; " + Fixed(c.gapSeconds, 3) +
                       " s between bus calls (fixed waits) of " + Fixed(r.seconds, 3) +
                       " s wall; bus time at 100 kHz " + Fixed(c.ProjectedSeconds(100), 3) +
                       " s, at 400 kHz " + Fixed(c.ProjectedSeconds(400), 3) + " s";
    if (!r.usbCounted)
        return r.usbUncounted.empty() ? line : line + "; USB not counted: " + r.usbUncounted;
    // A USB adapter: its transfers, and their projected time beside the wire time.
    const UsbCounts& u = r.usb;
    return line + "; USB " + std::to_string(u.transfersOut + u.transfersIn) + " transfers (" +
           std::to_string(u.RoundTrips()) + " round trips), " + std::to_string(u.bytesOut) +
           " bytes out, " + std::to_string(u.bytesIn) + " in; projected USB time " +
           Fixed(u.ProjectedSeconds(), 3) + " s beside " +
           Fixed(c.ProjectedSeconds(r.busSpeedKhz), 3) + " s on the wire at " +
           std::to_string(r.busSpeedKhz) + " kHz";
}

std::string ResultJson(const CommandReport& r) {
    JsonObject o;
    o.Add("event", "result").Add("command", r.command);
    if (!r.file.empty())
        o.Add("file", r.file);
    o.Add("status", r.status).Add("ok", r.status == 0);
    if (r.programs)
        o.Add("skipped", r.skipped);
    std::string banks = "[";
    for (const BankReport& b : r.banks)
        banks += (banks.size() > 1 ? "," : "") + BankJson(b);
    o.AddRaw("banks", banks + "]");
    o.Add("pages_sent", r.bus.pageFrames).Add("seconds", r.seconds);
    if (r.stats)
        o.AddRaw("stats", StatsJson(r));
    o.Add("error", r.error);
    return o.Text();
}

} // namespace rtd::host

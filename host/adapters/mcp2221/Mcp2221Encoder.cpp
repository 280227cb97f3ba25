#include "Mcp2221Encoder.h"

#include <algorithm>

namespace rtd::host::mcp2221 {

namespace {

constexpr int kBaseKhz = 12000;

Report Blank(uint8_t command) {
    Report r(kReportSize, 0);
    r[0] = command;
    return r;
}

void PutLength(Report* r, int count, uint8_t address) {
    (*r)[1] = static_cast<uint8_t>(count & 0xFF);
    (*r)[2] = static_cast<uint8_t>(count >> 8);
    (*r)[3] = address;
}

} // namespace

bool IsTimeoutState(uint8_t state) {
    // START, address, data and STOP timeouts.
    return state == 0x12 || state == 0x23 || state == 0x44 || state == 0x62;
}

const std::vector<int>& SpeedsKhz() {
    static const std::vector<int> speeds = {100, 400};
    return speeds;
}

int SpeedDivider(int khz) {
    const auto& speeds = SpeedsKhz();
    if (std::find(speeds.begin(), speeds.end(), khz) == speeds.end())
        return -1;
    return kBaseKhz / khz - 2;
}

int DividerKhz(uint8_t divider) {
    return kBaseKhz / (divider + 2);
}

Report StatusRequest(bool cancel, int divider) {
    Report r = Blank(kStatus);
    if (cancel)
        r[2] = kCancel;
    if (divider >= 0) {
        r[3] = kSetSpeed;
        r[4] = static_cast<uint8_t>(divider);
    }
    return r;
}

std::vector<Report> WriteRequests(uint8_t address, const uint8_t* data, int count) {
    std::vector<Report> reports;
    int at = 0;
    do {
        const int n = std::min(kChunk, count - at);
        Report r = Blank(kWrite);
        PutLength(&r, count, address);
        std::copy(data + at, data + at + n, r.begin() + 4);
        reports.push_back(r);
        at += n;
    } while (at < count);
    return reports;
}

Report ReadRequest(uint8_t address, int count) {
    Report r = Blank(kRead);
    PutLength(&r, count, address);
    return r;
}

Report GetDataRequest() {
    return Blank(kGetData);
}

Status ParseStatus(const Report& answer) {
    Status s;
    if (answer.size() != kReportSize || answer[0] != kStatus || answer[1] != kTaken)
        return s;
    s.valid = true;
    s.state = answer[kStateByte];
    s.nack = (answer[kAckByte] & kNackBit) != 0;
    s.sent = answer[kSentLow] | answer[kSentLow + 1] << 8;
    s.cancel = answer[2];
    s.speed = answer[3];
    return s;
}

std::string StateText(uint8_t state) {
    static const char kDigits[] = "0123456789ABCDEF";
    return std::string("state ") + kDigits[state >> 4] + kDigits[state & 0xF];
}

} // namespace rtd::host::mcp2221

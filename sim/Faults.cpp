#include "Faults.h"

#include <algorithm>
#include <cctype>

namespace rtd::sim {

namespace {

constexpr unsigned long kMaxCount = 1000000; // keeps busy counts far from int overflow

// Strict unsigned number: decimal, or hexadecimal when `hex` is set (an optional "0x"
// prefix is accepted there). No sign, no blanks, no trailing text.
bool ParseUnsigned(const std::string& text, bool hex, unsigned long limit, unsigned long& out) {
    std::string digits = text;
    if (hex && digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X'))
        digits = digits.substr(2);
    if (digits.empty() || digits.size() > 8)
        return false;
    unsigned long value = 0;
    for (char c : digits) {
        const unsigned char u = static_cast<unsigned char>(c);
        int digit;
        if (std::isdigit(u))
            digit = c - '0';
        else if (hex && std::isxdigit(u))
            digit = std::tolower(u) - 'a' + 10;
        else
            return false;
        value = value * (hex ? 16 : 10) + static_cast<unsigned long>(digit);
    }
    if (value > limit)
        return false;
    out = value;
    return true;
}

bool Fail(std::string* error, const std::string& reason) {
    if (error)
        *error = reason;
    return false;
}

} // namespace

const std::vector<FaultForm>& ChipFaultForms() {
    // clang-format off
    static const std::vector<FaultForm> forms = {
        {"no-isp",           "no-isp",           "never reports ISP mode"},
        {"isp-after=N",      "isp-after=2",      "enters ISP mode from the N-th attempt on"},
        {"erase-busy=N",     "erase-busy=3",     "every erase stays busy for N status reads"},
        {"page-busy=N[@K]",  "page-busy=3@2",    "page programming busy for N reads (every page, or page K)"},
        {"crc-range-busy=N", "crc-range-busy=2", "the CRC range stays busy for N reads"},
        {"crc-busy=N",       "crc-busy=2",       "the CRC engine stays busy for N reads"},
        {"stuck=B:ADDR",     "stuck=1:0010",     "flash byte ADDR (hex) of bank B cannot be programmed"},
        {"read-fail",        "read-fail",        "every read fails and leaves the buffer as it was"},
        {"drop-writes",      "drop-writes",      "every write is ignored"},
        {"power-cut@K",      "power-cut@40",     "the power goes before bus transfer K (from 0): no\n"
                                                 "answers, reads 0xFF; the saved flash holds what\n"
                                                 "was erased and programmed, a page under way half"},
    };
    // clang-format on
    return forms;
}

std::string FaultFormList(const std::vector<FaultForm>& forms) {
    std::string list;
    for (const FaultForm& f : forms)
        list += (list.empty() ? "" : ", ") + std::string(f.form);
    return list;
}

int Faults::PageBusyFor(int page) const {
    const auto at = pageBusyAt.find(page);
    return at == pageBusyAt.end() ? pageBusy : std::max(pageBusy, at->second);
}

bool Faults::IsStuck(int bank, uint32_t address) const {
    return stuck.count({bank, address}) != 0;
}

bool ParseFault(const std::string& fault, Faults& faults, std::string* error) {
    const auto eq = fault.find('=');
    const std::string name = fault.substr(0, eq);
    const bool hasValue = eq != std::string::npos;
    const std::string value = hasValue ? fault.substr(eq + 1) : std::string();

    if (name == "no-isp" || name == "read-fail" || name == "drop-writes") {
        if (hasValue)
            return Fail(error, "fault '" + name + "' takes no value: '" + fault + "'");
        if (name == "no-isp")
            faults.noIsp = true;
        else if (name == "read-fail")
            faults.readFail = true;
        else
            faults.dropWrites = true;
        return true;
    }

    if (fault.compare(0, 9, "power-cut") == 0) {
        unsigned long k = 0;
        if (fault.size() < 10 || fault[9] != '@' ||
            !ParseUnsigned(fault.substr(10), false, kMaxCount, k))
            return Fail(error, "bad fault '" + fault +
                                   "': expected power-cut@K (K the transfer, counting from 0)");
        // Two cuts: the chip is off from the first one on.
        const int at = static_cast<int>(k);
        faults.powerCutAt = faults.powerCutAt < 0 ? at : std::min(faults.powerCutAt, at);
        return true;
    }

    if (name == "stuck") {
        const auto colon = value.find(':');
        unsigned long bank = 0, address = 0;
        if (!hasValue || colon == std::string::npos ||
            !ParseUnsigned(value.substr(0, colon), false, 1, bank) ||
            !ParseUnsigned(value.substr(colon + 1), true, 0xFFFF, address))
            return Fail(error, "bad fault '" + fault +
                                   "': expected stuck=B:ADDR (bank 0 or 1, hex address to FFFF)");
        faults.stuck.insert({static_cast<int>(bank), static_cast<uint32_t>(address)});
        return true;
    }

    if (name == "page-busy") {
        const auto at = value.find('@');
        unsigned long reads = 0, page = 0;
        if (!hasValue || !ParseUnsigned(value.substr(0, at), false, kMaxCount, reads) ||
            (at != std::string::npos && !ParseUnsigned(value.substr(at + 1), false, 255, page)))
            return Fail(error, "bad fault '" + fault +
                                   "': expected page-busy=N or page-busy=N@K (page K 0 to 255)");
        const int n = static_cast<int>(reads);
        if (at == std::string::npos) {
            faults.pageBusy = std::max(faults.pageBusy, n);
        } else {
            int& slot = faults.pageBusyAt[static_cast<int>(page)];
            slot = std::max(slot, n);
        }
        return true;
    }

    struct Counted {
        const char* name;
        int Faults::*field;
        unsigned long minimum;
    };
    static const Counted kCounted[] = {
        {"isp-after", &Faults::ispAfter, 1},
        {"erase-busy", &Faults::eraseBusy, 0},
        {"crc-range-busy", &Faults::crcRangeBusy, 0},
        {"crc-busy", &Faults::crcBusy, 0},
    };
    for (const Counted& c : kCounted) {
        if (name != c.name)
            continue;
        unsigned long n = 0;
        if (!hasValue || !ParseUnsigned(value, false, kMaxCount, n) || n < c.minimum)
            return Fail(error, "bad fault '" + fault + "': expected " + name + "=N (N a number" +
                                   (c.minimum ? " from 1)" : ")"));
        int& field = faults.*c.field;
        field = std::max(field, static_cast<int>(n));
        return true;
    }

    return Fail(error,
                "unknown fault '" + name + "' (known: " + FaultFormList(ChipFaultForms()) + ")");
}

} // namespace rtd::sim

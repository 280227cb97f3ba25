#include "ExpectedTrace.h"

#include <algorithm>

#include "ReferenceCrc.h"
#include "Trace.h"

namespace rtd::host::test {

namespace {

uint8_t StatusOf(int bank) {
    return bank == 1 ? 0x60 : 0x40;
}

} // namespace

void ExpectedTrace::Write(std::initializer_list<uint8_t> bytes) {
    const std::vector<uint8_t> v(bytes);
    events_.push_back("W " + FormatHexBytes(v.data(), static_cast<int>(v.size())));
}

void ExpectedTrace::ReadRegister(uint8_t reg, uint8_t value) {
    Write({0x94, reg});
    events_.push_back("R 95 " + FormatHexBytes(&value, 1));
}

void ExpectedTrace::EnterIsp() {
    Write({0x94, 0x90, 0x40});
    Write({0x94, 0x36, 0x00});
    ReadRegister(0x90, 0x40);
}

void ExpectedTrace::Erase() {
    Write({0x94, 0x90, 0xC0});
    ReadRegister(0x90, 0x40);
}

void ExpectedTrace::ExitIsp() {
    Write({0x94, 0x90, 0x00});
}

void ExpectedTrace::Page(const uint8_t* data, int page, int count, uint8_t status) {
    if (std::all_of(data, data + count, [](uint8_t b) { return b == 0xFF; }))
        return;
    Write({0x96, 0x92, static_cast<uint8_t>(page), 0x00});
    std::vector<uint8_t> bytes(258, 0xFF);
    bytes[0] = 0x94;
    bytes[1] = 0x94;
    std::copy(data, data + count, bytes.begin() + 2);
    events_.push_back("W " + FormatHexBytes(bytes.data(), 258));
    ReadRegister(0x90, status);
}

void ExpectedTrace::WriteImage(const uint8_t* window, int length, int bank) {
    Write({0x94, 0x90, StatusOf(bank)});
    const int pages = length / 256;
    for (int i = 0; i < pages; ++i) {
        Page(window + 256 * i, i, 256, StatusOf(bank));
        events_.push_back("P " + std::to_string(i * 100 / pages));
    }
    Page(window + 256 * pages, pages, length % 256, StatusOf(bank));
    events_.push_back("P 100");
}

void ExpectedTrace::ChipCrc(const uint8_t* window, int length, int bank) {
    const int end = length - 1;
    Write({0x94, 0x90, StatusOf(bank)});
    Write({0x96, 0x92, 0x00, 0x00});
    Write({0x96, 0xA0, static_cast<uint8_t>(end >> 8), static_cast<uint8_t>(end)});
    ReadRegister(0x90, StatusOf(bank));
    Write({0x94, 0xA2, 0x80});
    ReadRegister(0xA2, 0x00);
    ReadRegister(0xA3, ReferenceCrc8(window, static_cast<size_t>(length)));
}

void ExpectedTrace::ProgramBank(const uint8_t* window, int bank, bool eraseFirst, bool exitAfter) {
    if (eraseFirst) {
        EnterIsp();
        Line("Erase...");
        Erase();
        ExitIsp();
        EnterIsp();
        Erase();
    }
    int length = 65536;
    while (length > 0 && window[length - 1] == 0xFF)
        --length;
    Line("Write...");
    WriteImage(window, length, bank);
    ChipCrc(window, length, bank);
    if (exitAfter)
        ExitIsp();
}

} // namespace rtd::host::test

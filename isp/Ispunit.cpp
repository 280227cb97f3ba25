#include "Ispunit.h"

#include <algorithm>
#include <cstring>

#include "ChipRegisters.h"
#include "FlashGeometry.h"
#include "Quonunit.h"
#include "Sleep.h"

namespace {

using namespace rtd::image;

// How often the entry is tried, and how many status reads each wait takes at most.
constexpr int kEntryAttempts = 3;
constexpr int kErasePolls = 10;
constexpr int kPagePolls = 10;
constexpr int kCrcRangePolls = 21;
constexpr int kCrcPolls = 101;

} // namespace

TIspUnit::TIspUnit() {
    AutoFireSecond = LoadAutoFireSecond();
}

TIspUnit::~TIspUnit() {
    SaveAutoFireSecond(AutoFireSecond);
}

void TIspPort::Send(uint8_t address, const uint8_t* bytes, int count) {
    if (IicInterface)
        IicInterface->IicWrite(address, count, bytes);
}

void TIspPort::Send(uint8_t address, uint8_t first, uint8_t second) {
    const uint8_t bytes[2] = {first, second};
    Send(address, bytes, 2);
}

void TIspPort::SendAddress(uint8_t reg, int value) {
    const uint8_t bytes[3] = {reg, static_cast<uint8_t>((value >> 8) & 0xFF),
                              static_cast<uint8_t>(value & 0xFF)};
    Send(kAddressPort, bytes, 3);
}

uint8_t TIspPort::ReadRegister(uint8_t reg, uint8_t unread) {
    Send(kRegisterWrite, &reg, 1);
    // By default a read the bus object cannot complete leaves 0xFF: every busy bit set and
    // not the entry status, so no poll mistakes a stale byte for success.
    uint8_t value = unread;
    if (IicInterface)
        IicInterface->IicRead(kRegisterRead, 1, &value);
    return value;
}

bool TIspPort::PollUntilClear(uint8_t reg, uint8_t busy, int reads, unsigned waitMs,
                              bool waitAfterLast) {
    for (int read = 1; read <= reads; ++read) {
        if ((ReadRegister(reg) & busy) == 0)
            return true;
        if (waitMs > 0 && (read < reads || waitAfterLast))
            IspSleep(waitMs);
    }
    return false;
}

void TIspPort::SelectBank(int bank) {
    Send(kRegisterWrite, kIspControl, bank == 1 ? kIspBank1 : kIspBank0);
}

bool TIspPort::EnterIsp() {
    for (int attempt = 0; attempt < kEntryAttempts; ++attempt) {
        SelectBank(0);
        Send(kRegisterWrite, kEntry, kEnterIsp);
        IspSleep(1);
        if (ReadRegister(kIspControl) == kIspBank0)
            return true;
        IspSleep(1);
    }
    return false;
}

bool TIspPort::EraseChip() {
    Send(kRegisterWrite, kIspControl, kStartErase);
    IspSleep(50);
    return PollUntilClear(kIspControl, kEraseBusy, kErasePolls, 10, true);
}

bool TIspPort::ProgramPage(const uint8_t* data, int page, int count) {
    count = std::clamp(count, 0, kPageSize);
    if (IsErased(data, static_cast<size_t>(count)))
        return true;

    SendAddress(kFlashAddress, (page & 0xFF) << 8);
    uint8_t frame[1 + kPageSize];
    frame[0] = kPageData;
    if (count > 0)
        std::memcpy(frame + 1, data, static_cast<size_t>(count));
    std::memset(frame + 1 + count, kErased, static_cast<size_t>(kPageSize - count));
    Send(kRegisterWrite, frame, sizeof frame);
    IspSleep(1);

    return PollUntilClear(kIspControl, kPageBusy, kPagePolls, 1, true);
}

bool TIspPort::WriteImage(const uint8_t* data, int length, int bank) {
    length = std::clamp(length, 0, kBankSize);
    const int pages = length / kPageSize;
    const int rest = length % kPageSize;

    SelectBank(bank);
    for (int i = 0; i < pages; ++i) {
        if (!ProgramPage(data + i * kPageSize, i, kPageSize))
            return false;
        PostProgress(i * 100 / pages);
    }
    const bool last = ProgramPage(data + pages * kPageSize, pages, rest);
    PostProgress(100);
    return last;
}

bool TIspPort::ReadChipCrc(int bank, int start, int end, uint8_t& crc) {
    SelectBank(bank);
    SendAddress(kFlashAddress, start);
    SendAddress(kCrcEnd, end);
    IspSleep(10);

    if (!PollUntilClear(kIspControl, kCrcRangeBusy, kCrcRangePolls, 10, false))
        return false;

    Send(kRegisterWrite, kCrcControl, kStartCrc);
    IspSleep(10);
    if (!PollUntilClear(kCrcControl, kCrcBusy, kCrcPolls, 0, false))
        return false;

    // A failed read of the result leaves crc as the caller set it, so a caller that sets a
    // value it must not match (ProgramBank: the complement of its own CRC) never takes a
    // failed read for a match, not even when its CRC happens to be 0xFF.
    crc = ReadRegister(kCrcResult, crc);
    return true;
}

void TIspPort::ExitIsp() {
    Send(kRegisterWrite, kIspControl, kLeaveIsp);
}

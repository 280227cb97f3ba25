#include "TwoBankImage.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "ReferenceCrc.h"

namespace rtd::test {

std::vector<uint8_t> Window(int length, int step) {
    std::vector<uint8_t> window(65536, 0xFF);
    for (int i = 0; i < length; ++i)
        window[static_cast<size_t>(i)] = static_cast<uint8_t>((i * step + 0x11) % 0xFF);
    return window;
}

TwoBankImage::TwoBankImage() {
    windows = {Window(dataLength[0], 7), Window(dataLength[1], 13)};
    script.ProgramBank(windows[0].data(), 0, true, false);
    script.ProgramBank(windows[1].data(), 1, false, true);
}

void TwoBankImage::CheckCrcsAreTelling() const {
    const uint8_t crc0 = ReferenceCrc8(windows[0].data(), static_cast<size_t>(dataLength[0]));
    const uint8_t crc1 = ReferenceCrc8(windows[1].data(), static_cast<size_t>(dataLength[1]));
    for (uint8_t crc : {crc0, crc1})
        for (uint8_t stale : {0x00, 0x40, 0x60, 0xFF})
            ASSERT_NE(crc, stale);
    ASSERT_NE(crc0, crc1);
}

std::vector<uint8_t> TwoBankImage::RawFile() const {
    std::vector<uint8_t> raw = windows[0];
    raw.insert(raw.end(), windows[1].begin(), windows[1].begin() + dataLength[1]);
    return raw;
}

WireScript TwoBankImage::WriteScript() const {
    WireScript write;
    write.Line("Begin...");
    write.Line("Fire Bank0...");
    write.ProgramBank(windows[0].data(), 0, true, false);
    write.Line("Fire Bank1...");
    write.ProgramBank(windows[1].data(), 1, false, true);
    return write;
}

bool TwoBankImage::DataIn(const sim::ChipModel& chip) const {
    for (int bank = 0; bank < 2; ++bank)
        if (!std::equal(windows[bank].begin(), windows[bank].begin() + dataLength[bank],
                        chip.Flash(bank).begin()))
            return false;
    return true;
}

} // namespace rtd::test

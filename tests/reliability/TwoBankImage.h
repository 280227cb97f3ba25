// The two-bank firmware the fault and recovery matrices write: data in full and short
// pages of both banks, bank 1's window following bank 0's in a raw image file.
#ifndef RTD_TESTS_RELIABILITY_TWOBANKIMAGE_H
#define RTD_TESTS_RELIABILITY_TWOBANKIMAGE_H

#include <cstdint>
#include <vector>

#include "ChipModel.h"
#include "WireScript.h"

namespace rtd::test {

// A 64 KiB window whose first `length` bytes hold data (never 0xFF, so no page is
// skipped and every stuck byte matters), the rest erased.
std::vector<uint8_t> Window(int length, int step);

class TwoBankImage {
public:
    TwoBankImage();

    // A chip that answers with a stale or failed byte must never match by chance.
    void CheckCrcsAreTelling() const;
    // The raw image file: bank 0's whole window, then bank 1's data.
    std::vector<uint8_t> RawFile() const;
    // The Write export of RawFile() on a healthy chip.
    WireScript WriteScript() const;
    // Each bank holds its window's data (the rest of the bank is not looked at).
    bool DataIn(const sim::ChipModel& chip) const;

    const int dataLength[2] = {2 * 256 + 40, 256 + 44};
    std::vector<std::vector<uint8_t>> windows;
    // The bank sequence alone: bank 0 with erase, bank 1 without, then leaving ISP mode.
    WireScript script;
};

} // namespace rtd::test

#endif

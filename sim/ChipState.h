// The chip model's inner state, shared by the protocol and the flash file code.
#ifndef RTD_SIM_CHIPSTATE_H
#define RTD_SIM_CHIPSTATE_H

#include <array>
#include <cstdint>
#include <vector>

#include "BusyPeriod.h"
#include "ChipModel.h"
#include "Faults.h"

namespace rtd::sim {

// Work the chip has started and not yet reported done: what the flash range held before,
// so that a power cut can leave it half done. Programming only clears bits, so putting
// back the old bytes of a part of the range never sets a bit the work had not cleared.
struct Unfinished {
    bool pending = false;
    int bank = 0;
    uint16_t start = 0;
    int done = 0; // bytes from start that the work completed before a cut
    std::vector<uint8_t> before;
};

struct ChipModel::State {
    std::array<std::vector<uint8_t>, 2> flash{std::vector<uint8_t>(kBankSize, kErased),
                                              std::vector<uint8_t>(kBankSize, kErased)};
    Faults faults;
    Counters counters;
    BusyPeriod::Clock clock;

    bool powered = true;
    bool inIsp = false;
    int bank = 0;
    uint8_t control = 0x00; // last value written to 0x90 outside ISP mode
    uint8_t named = 0x00;   // register named for the next read of 0x95
    uint16_t address = 0;   // address port 0x92: page start, CRC range start
    uint16_t crcEnd = 0;    // address port 0xA0: CRC range end, inclusive
    uint8_t crcResult = 0x00;

    BusyPeriod erase, page, crcRange, crcEngine;
    Unfinished erasing, programming;
};

} // namespace rtd::sim

#endif

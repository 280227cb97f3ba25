// What a command must do when one fault starts at transfer k, worked out from the steps
// of its healthy run and the rules of the protocol: which step is the first to fail,
// hence the result and the message lines.
#ifndef RTD_TESTS_RELIABILITY_FAULTORACLE_H
#define RTD_TESTS_RELIABILITY_FAULTORACLE_H

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "ChipModel.h"
#include "FaultAfterBus.h"
#include "WireScript.h"

namespace rtd::test {

struct Outcome {
    bool ok = true;
    std::vector<std::string> lines;
    int exits = 0; // 90 00 sent: never after the step that failed
};

class FaultOracle {
public:
    FaultOracle(Fault fault, int k) : fault_(fault), k_(k) {}

    // The outcome of running `script` on a blank chip.
    Outcome Run(const WireScript& script);

private:
    // What the chip holds, as far as writes before k (or unaffected by the fault) took it.
    // The register map is this oracle's own; the flash facts are the chip model's.
    struct Chip {
        bool inIsp = false;
        int bank = 0;
        uint8_t control = 0x00;
        uint8_t named = 0x00;
        int start = 0, end = 0;
        uint8_t crc = 0x00;
        std::array<std::vector<uint8_t>, 2> flash{Blank(), Blank()};
    };

    static std::vector<uint8_t> Blank() {
        return std::vector<uint8_t>(sim::ChipModel::kBankSize, sim::ChipModel::kErased);
    }
    bool Before(int index) const { return index >= 0 && index < k_; }
    // Applies the step's writes that reach the chip.
    void Apply(const Step& step);
    void ApplyWrite(const Transfer& t, int index, const Step& step);
    // True when the step's awaited status arrives within its limit.
    bool Passes(const Step& step) const;
    // What every read returns once writes stopped arriving: the last named register.
    uint8_t Frozen() const;
    uint8_t FlashCrc(int bank, int start, int end) const;

    Fault fault_;
    int k_;
    Chip chip_;
};

} // namespace rtd::test

#endif

// A bus decorator that counts what passes and when: transfers, bytes, page frames, the
// time spent inside the bus and the time between its calls (the plug-in's fixed waits
// and its own work), for the write summary and --stats.
#ifndef RTD_HOST_BUS_BUSSTATS_H
#define RTD_HOST_BUS_BUSSTATS_H

#include <chrono>
#include <cstdint>

#include "ForwardingBus.h"

namespace rtd::host {

struct BusCounts {
    int64_t calls = 0;
    int64_t bytes = 0;      // address bytes included, both directions
    int64_t pageFrames = 0; // writes of a whole page frame: register byte and 256 data bytes
    int64_t bits = 0;       // on the wire: start, 9 bits per byte (acknowledge included), stop
    double busSeconds = 0;  // inside the bus calls
    double gapSeconds = 0;  // between the first call's start and the last call's end, outside
                            // the bus
    // What the same transfers take at `khz` with no gaps between bits or transactions.
    double ProjectedSeconds(int khz) const { return static_cast<double>(bits) / (khz * 1000.0); }
};

class BusStats : public ForwardingBus {
public:
    explicit BusStats(TIicInterface* inner) : ForwardingBus(inner) {}
    virtual ~BusStats() = default;

    bool IicWrite(uint8_t address, int count, const uint8_t* data) override;
    bool IicRead(uint8_t address, int count, uint8_t* data) override;

    const BusCounts& Counts() const { return counts_; }

private:
    using Clock = std::chrono::steady_clock;
    // Counts one transfer of `count` bytes around the call `transfer`.
    template <typename Transfer> bool Count(int count, Transfer transfer);

    BusCounts counts_;
    bool started_ = false;
    Clock::time_point lastEnd_;
};

} // namespace rtd::host

#endif

// One busy period of the chip (erase, page programming, CRC range setup, CRC engine).
#ifndef RTD_SIM_BUSYPERIOD_H
#define RTD_SIM_BUSYPERIOD_H

#include <cstdint>
#include <functional>

namespace rtd::sim {

// Busy for a number of status reads, and, when the model runs on a clock, also until a
// deadline on that clock. Each status read that sees the period counts one read down.
class BusyPeriod {
public:
    using Clock = std::function<uint64_t()>;

    void Start(int reads, unsigned ms, const Clock& clock) {
        reads_ = reads;
        untilMs_ = clock ? clock() + ms : 0;
    }
    // Ends the status reads a fault added; time on the clock still runs.
    void EndReads() { reads_ = 0; }
    void Clear() {
        reads_ = 0;
        untilMs_ = 0;
    }
    // The busy bit as one status read sees it; counts that read.
    bool Poll(const Clock& clock) {
        const bool timeBusy = clock && clock() < untilMs_;
        if (reads_ > 0) {
            --reads_;
            return true;
        }
        return timeBusy;
    }

private:
    int reads_ = 0;
    uint64_t untilMs_ = 0;
};

} // namespace rtd::sim

#endif

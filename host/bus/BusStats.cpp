#include "BusStats.h"

#include "FlashGeometry.h"

namespace rtd::host {

template <typename Transfer> bool BusStats::Count(int count, Transfer transfer) {
    const Clock::time_point start = Clock::now();
    if (started_)
        counts_.gapSeconds += std::chrono::duration<double>(start - lastEnd_).count();
    const bool ok = transfer();
    lastEnd_ = Clock::now();
    started_ = true;
    counts_.busSeconds += std::chrono::duration<double>(lastEnd_ - start).count();
    const int64_t bytes = 1 + (count > 0 ? count : 0);
    ++counts_.calls;
    counts_.bytes += bytes;
    counts_.bits += 9 * bytes + 2;
    return ok;
}

bool BusStats::IicWrite(uint8_t address, int count, const uint8_t* data) {
    if (count == 1 + image::kPageSize)
        ++counts_.pageFrames;
    return Count(count, [&] { return ForwardingBus::IicWrite(address, count, data); });
}

bool BusStats::IicRead(uint8_t address, int count, uint8_t* data) {
    return Count(count, [&] { return ForwardingBus::IicRead(address, count, data); });
}

} // namespace rtd::host

// The FT232H, FT2232H and FT4232H on USB: how an interface is brought into MPSSE mode
// and what a request and its answer cost.
//   - The latency timer sends what the chip holds once it runs out, when nothing else
//     makes it send; FTDI advise against 1 ms (the USB frame length), and a request that
//     ends with send-immediate (0x87) is answered at once anyway: 2 ms.
//   - After MPSSE mode is set, FTDI's sample code waits 50 ms before the first command.
//   - The chips are high-speed devices: the host schedules their transfers in 125 us
//     microframes, one round trip taking one at least.
#ifndef RTD_HOST_ADAPTERS_FTDI_FTDIUSBTIMING_H
#define RTD_HOST_ADAPTERS_FTDI_FTDIUSBTIMING_H

#include <cstdint>
#include <vector>

#include "MpsseCommands.h"

namespace rtd::host::ftdi {

constexpr unsigned char kLatencyTimerMs = 2;
constexpr int kSettleMs = 50;
constexpr double kRoundTripSeconds = 125e-6;

// Whether the engine sends the answer to `request` at once, rather than when the latency
// timer runs out.
inline bool AnswersAtOnce(const std::vector<uint8_t>& request) {
    return !request.empty() && request.back() == mpsse::kSendImmediate;
}

} // namespace rtd::host::ftdi

#endif

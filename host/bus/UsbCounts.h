// What a USB adapter's link carried during a command, and the USB time it projects:
// every OUT transfer is one round trip (the host hands the adapter a request and waits
// until it is taken, and for its answer when there is one), costing the bus's scheduling
// interval; an answer the adapter holds back until its latency timer runs out costs that
// timer on top.
#ifndef RTD_HOST_BUS_USBCOUNTS_H
#define RTD_HOST_BUS_USBCOUNTS_H

#include <cstdint>

namespace rtd::host {

struct UsbCounts {
    int64_t transfersOut = 0;
    int64_t transfersIn = 0;
    int64_t bytesOut = 0;
    int64_t bytesIn = 0;
    int64_t latencyWaits = 0;    // answers sent only when the adapter's latency timer ran out
    double roundTripSeconds = 0; // the adapter's cost of one round trip
    double latencySeconds = 0;   // its latency timer

    int64_t RoundTrips() const { return transfersOut; }
    double ProjectedSeconds() const {
        return static_cast<double>(transfersOut) * roundTripSeconds +
               static_cast<double>(latencyWaits) * latencySeconds;
    }
    // What was carried since `before` was taken.
    UsbCounts Since(const UsbCounts& before) const {
        UsbCounts d = *this;
        d.transfersOut -= before.transfersOut;
        d.transfersIn -= before.transfersIn;
        d.bytesOut -= before.bytesOut;
        d.bytesIn -= before.bytesIn;
        d.latencyWaits -= before.latencyWaits;
        return d;
    }
};

} // namespace rtd::host

#endif

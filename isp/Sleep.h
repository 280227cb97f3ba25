// The fixed waits of the ISP protocol: plain sleeps of the calling thread.
#ifndef RTD_ISP_SLEEP_H
#define RTD_ISP_SLEEP_H

#include "Platform.h"

inline void IspSleep(unsigned ms) {
    rtd::CurrentPlatform().SleepMs(ms);
}

#endif

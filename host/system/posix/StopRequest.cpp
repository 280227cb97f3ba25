#include "StopRequest.h"

#include <signal.h>

#include <csignal>

namespace rtd::host {

namespace {

volatile std::sig_atomic_t stopRequested = 0;

extern "C" void OnInterrupt(int) {
    stopRequested = 1;
}

} // namespace

void CatchStopRequest() {
    struct sigaction action = {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
}

bool StopRequested() {
    return stopRequested != 0;
}

void SetStopRequested(bool stop) {
    stopRequested = stop ? 1 : 0;
}

} // namespace rtd::host

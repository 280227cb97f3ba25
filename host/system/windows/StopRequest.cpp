#include "StopRequest.h"

#include <atomic>

#include <windows.h>

namespace rtd::host {

namespace {

std::atomic<bool> stopRequested{false};

// Runs on a thread of its own; returning TRUE keeps the process alive.
BOOL WINAPI OnControl(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT)
        return FALSE;
    stopRequested = true;
    return TRUE;
}

} // namespace

void CatchStopRequest() {
    SetConsoleCtrlHandler(OnControl, TRUE);
}

bool StopRequested() {
    return stopRequested;
}

void SetStopRequested(bool stop) {
    stopRequested = stop;
}

} // namespace rtd::host

#include "StopRequest.h"

#include <windows.h>

#include "StopNotice.h"

namespace rtd::host {

namespace {

// The time Windows gives a closing console before it ends the process anyway.
constexpr DWORD kCloseGraceMs = 5000;

// Runs on a thread of its own; returning TRUE keeps the process alive.
BOOL WINAPI OnControl(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT)
        return FALSE;
    OnStopSignal();
    // A closing console ends the process when the handler returns: wait here while the
    // command stops at its next transfer and saves, which ends the process first.
    if (event == CTRL_CLOSE_EVENT)
        Sleep(kCloseGraceMs);
    return TRUE;
}

} // namespace

void WriteStopNotice(const char* text, size_t length) {
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_ERROR_HANDLE), text, static_cast<DWORD>(length), &written, nullptr);
}

void CatchStopRequest() {
    SetConsoleCtrlHandler(OnControl, TRUE);
}

void IgnoreBrokenPipe() {
    // Windows raises no signal for a closed pipe: the write just fails.
}

} // namespace rtd::host

#include "StopRequest.h"

#include <signal.h>
#include <unistd.h>

#include <initializer_list>

#include "StopNotice.h"

namespace rtd::host {

namespace {

extern "C" void OnSignal(int) {
    OnStopSignal();
}

} // namespace

void WriteStopNotice(const char* text, size_t length) {
    // Only async-signal-safe calls here.
    if (write(STDERR_FILENO, text, length) < 0)
        return;
}

void CatchStopRequest() {
    struct sigaction action = {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaction(signal, &action, nullptr);
}

void IgnoreBrokenPipe() {
    struct sigaction action = {};
    action.sa_handler = SIG_IGN;
    sigemptyset(&action.sa_mask);
    sigaction(SIGPIPE, &action, nullptr);
}

} // namespace rtd::host

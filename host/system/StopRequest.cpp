#include "StopRequest.h"

#include <atomic>
#include <cstring>

#include "StopNotice.h"

namespace rtd::host {

namespace {

// Lock-free, so a signal handler may touch them.
std::atomic<int> stopSignals{0};
std::atomic<bool> noticeReady{false};
char notice[208];
std::atomic<size_t> noticeLength{0};

} // namespace

void OnStopSignal() {
    if (stopSignals.fetch_add(1) == 0 && noticeReady.load())
        WriteStopNotice(notice, noticeLength.load());
}

int StopSignals() {
    return stopSignals.load();
}

void SetStopSignals(int count) {
    stopSignals = count;
}

void SetFirstStopNotice(const char* line) {
    noticeReady = false;
    size_t length = line ? std::strlen(line) : 0;
    if (length > sizeof notice - 1)
        length = sizeof notice - 1;
    if (length > 0) {
        std::memcpy(notice, line, length);
        notice[length++] = '\n';
    }
    noticeLength = length;
    noticeReady = length > 0;
}

} // namespace rtd::host

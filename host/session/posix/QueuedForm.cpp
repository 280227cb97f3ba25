#include "posix/QueuedForm.h"

namespace rtd::host {

void QueuedForm::PostWindowMessage(unsigned message, uintptr_t wParam, intptr_t) {
    queue_.push_back({message, wParam});
}

void QueuedForm::ProcessMessages() {
    while (!queue_.empty()) {
        const Message m = queue_.front();
        queue_.pop_front();
        if (m.message == RTD_PROGRESS_MESSAGE)
            DeliverProgress(static_cast<int>(m.wParam));
    }
}

std::unique_ptr<HostForm> CreateHostForm(ProgressDisplay display, Trace* trace, std::string*) {
    return std::make_unique<QueuedForm>(std::move(display), trace);
}

} // namespace rtd::host

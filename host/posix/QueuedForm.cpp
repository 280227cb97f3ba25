// Main form for hosts without a window system of their own: posted messages wait in a
// queue until the plug-in asks for message processing, as a real window's would.
#include <deque>

#include "HostForm.h"

namespace rtd::host {

namespace {

class QueuedForm : public HostForm {
public:
    using HostForm::HostForm;

    // A nominal 640x480 window at the origin: there is no real one to centre dialogs on.
    int GetLeft() override { return 0; }
    int GetTop() override { return 0; }
    int GetWidth() override { return 640; }
    int GetHeight() override { return 480; }
    uintptr_t GetHandle() override { return 0; }

    void PostWindowMessage(unsigned message, uintptr_t wParam, intptr_t) override {
        queue_.push_back({message, wParam});
    }

    void ProcessMessages() override {
        while (!queue_.empty()) {
            const Message m = queue_.front();
            queue_.pop_front();
            if (m.message == RTD_PROGRESS_MESSAGE)
                DeliverProgress(static_cast<int>(m.wParam));
        }
    }

private:
    struct Message {
        unsigned message;
        uintptr_t wParam;
    };
    std::deque<Message> queue_;
};

} // namespace

std::unique_ptr<HostForm> CreateHostForm(Console* console, Trace* trace, std::string*) {
    return std::make_unique<QueuedForm>(console, trace);
}

} // namespace rtd::host

// Main form for hosts where the plug-in delivers progress through the form itself:
// posted messages wait in a queue until the plug-in asks for message processing, as a
// real window's would.
#ifndef RTD_HOST_SESSION_POSIX_QUEUEDFORM_H
#define RTD_HOST_SESSION_POSIX_QUEUEDFORM_H

#include <deque>

#include "HostForm.h"

namespace rtd::host {

class QueuedForm : public HostForm {
public:
    using HostForm::HostForm;

    // A nominal 640x480 window at the origin, for a host with no real window to centre
    // dialogs on; a window host returns its window's rectangle and id.
    int GetLeft() override { return 0; }
    int GetTop() override { return 0; }
    int GetWidth() override { return 640; }
    int GetHeight() override { return 480; }
    uintptr_t GetHandle() override { return 0; }

    void PostWindowMessage(unsigned message, uintptr_t wParam, intptr_t lParam) override;
    // Delivers what was posted, in order.
    void ProcessMessages() override;

private:
    struct Message {
        unsigned message;
        uintptr_t wParam;
    };
    std::deque<Message> queue_;
};

} // namespace rtd::host

#endif

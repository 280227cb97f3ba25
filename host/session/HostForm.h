// The host's main form. Progress messages (1025, wParam = percent) that reach it are
// traced and handed to the host's progress display: the console's bar in isphost, the
// progress bar of ispgui's window.
//
// On Windows the form is a real window: the plug-in posts the message to its HWND and
// pumps the thread's queue, and the window procedure receives it. Elsewhere the plug-in
// calls PostWindowMessage and then ProcessMessages, which delivers what was posted.
#ifndef RTD_HOST_SESSION_HOSTFORM_H
#define RTD_HOST_SESSION_HOSTFORM_H

#include <functional>
#include <memory>
#include <string>

#include "Trace.h"
#include "rtd2120/rtd2120.h"

namespace rtd::host {

// Shows one delivered progress message.
using ProgressDisplay = std::function<void(int percent)>;

class HostForm : public TForm {
public:
    HostForm(ProgressDisplay display, Trace* trace) : display_(std::move(display)), trace_(trace) {}
    virtual ~HostForm() = default;
    // The progress messages delivered so far.
    int Delivered() const { return delivered_; }

protected:
    // One progress message has arrived at the form.
    void DeliverProgress(int percent);

private:
    ProgressDisplay display_;
    Trace* trace_;
    int delivered_ = 0;
};

// A command line's form, showing progress on `display`. Null, with a one-line reason,
// when the form cannot be made (no window on Windows).
std::unique_ptr<HostForm> CreateHostForm(ProgressDisplay display, Trace* trace, std::string* error);

} // namespace rtd::host

#endif

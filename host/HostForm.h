// The host's main form. Progress messages (1025, wParam = percent) that reach it are
// traced and drive the console's progress bar.
//
// On Windows the form is a real hidden window: the plug-in posts the message to its HWND
// and pumps the thread's queue, and the window procedure receives it. Elsewhere the plug-in
// calls PostWindowMessage and then ProcessMessages, which delivers what was posted.
#ifndef RTD_HOST_HOSTFORM_H
#define RTD_HOST_HOSTFORM_H

#include <memory>
#include <string>

#include "Console.h"
#include "Trace.h"
#include "rtd2120/rtd2120.h"

namespace rtd::host {

class HostForm : public TForm {
public:
    HostForm(Console* console, Trace* trace) : console_(console), trace_(trace) {}
    virtual ~HostForm() = default;
    // The progress messages delivered so far.
    int Delivered() const { return delivered_; }

protected:
    // One progress message has arrived at the form.
    void DeliverProgress(int percent);

private:
    Console* console_;
    Trace* trace_;
    int delivered_ = 0;
};

// Null, with a one-line reason, when the form cannot be made (no window on Windows).
std::unique_ptr<HostForm> CreateHostForm(Console* console, Trace* trace, std::string* error);

} // namespace rtd::host

#endif

// What a command shows while it runs, whatever the front end: the plug-in's lines as they
// are added, progress, the host's own lines and errors. isphost's console and ispgui's
// window each give one.
#ifndef RTD_HOST_SESSION_RUNOUTPUT_H
#define RTD_HOST_SESSION_RUNOUTPUT_H

#include <string>

#include "Reporter.h"

namespace rtd::host {

class RunOutput : public Reporter {
public:
    // A line the plug-in added to its message list.
    virtual void Line(const std::string& text) = 0;
    virtual void Progress(int percent) = 0;
    // A line of the host's own (verify's banks, a write's summary), not of the plug-in;
    // `evenQuiet` for what was asked for explicitly (--stats).
    virtual void Note(const std::string& text, bool evenQuiet = false) = 0;
    // A bus line of the trace ("W 94 90 40"), with --verbose; a front end may drop it.
    virtual void BusLine(const std::string&) {}
    // What the host can tell about a failed command (FailureDiagnosis): after its errors.
    virtual void Explain(const std::string& text) { Error(text); }
    // Ends a progress display that is still on screen.
    virtual void Finish() = 0;
    // The first error reported, for the command's report.
    virtual const std::string& FirstError() const = 0;
};

} // namespace rtd::host

#endif

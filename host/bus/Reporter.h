// Where the code under the front ends sends a line the user must read: isphost's console,
// ispgui's result strip, a stand-in DLL's stderr.
#ifndef RTD_HOST_BUS_REPORTER_H
#define RTD_HOST_BUS_REPORTER_H

#include <string>

namespace rtd::host {

class Reporter {
public:
    virtual ~Reporter() = default;
    // A bus-adapter or set-up failure.
    virtual void Error(const std::string& text) = 0;
};

} // namespace rtd::host

#endif

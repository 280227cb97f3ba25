// The bus the host hands to the plug-in: the chip model or a real adapter.
#ifndef RTD_HOST_HOSTBUS_H
#define RTD_HOST_HOSTBUS_H

#include <memory>
#include <string>

#include "Console.h"
#include "Options.h"
#include "rtd2120/rtd2120.h"

namespace rtd::host {

class HostBus {
public:
    virtual ~HostBus() = default;
    virtual TIicInterface* Bus() = 0;
    // After the command: saves the model's flash, reports adapter trouble. False when
    // something the user asked for did not happen.
    virtual bool Finish(Console* console) = 0;
};

// Null, with a one-line reason, when the bus cannot be set up (bad fault, unreadable flash
// file, adapter that cannot be opened).
std::unique_ptr<HostBus> CreateHostBus(const Options& options, Console* console,
                                       std::string* error);

} // namespace rtd::host

#endif

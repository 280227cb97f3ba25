// The exit statuses of both hosts' commands.
#ifndef RTD_HOST_SESSION_EXITSTATUS_H
#define RTD_HOST_SESSION_EXITSTATUS_H

namespace rtd::host {

enum ExitStatus { kExitOk = 0, kExitFailed = 1, kExitUsage = 2 };

} // namespace rtd::host

#endif

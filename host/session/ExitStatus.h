// The exit statuses of both hosts' commands.
#ifndef RTD_HOST_SESSION_EXITSTATUS_H
#define RTD_HOST_SESSION_EXITSTATUS_H

namespace rtd::host {

// kExitInterrupted: the user stopped the command (Ctrl-C, SIGTERM, SIGHUP, a closing
// console), as a shell reports a command ended by Ctrl-C.
enum ExitStatus { kExitOk = 0, kExitFailed = 1, kExitUsage = 2, kExitInterrupted = 130 };

} // namespace rtd::host

#endif

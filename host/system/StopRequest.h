// Ctrl-C for the station: instead of ending the process, it asks the loop to stop after
// the board in progress, so that no board is left half-written and no log row torn.
#ifndef RTD_HOST_SYSTEM_STOPREQUEST_H
#define RTD_HOST_SYSTEM_STOPREQUEST_H

namespace rtd::host {

// Routes Ctrl-C (SIGINT; a console control event on Windows) to StopRequested() from now
// until the process ends.
void CatchStopRequest();

// True once Ctrl-C was pressed after CatchStopRequest.
bool StopRequested();

// Sets or clears the request as Ctrl-C would (tests).
void SetStopRequested(bool stop);

} // namespace rtd::host

#endif

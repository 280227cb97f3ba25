// Ctrl-C, SIGTERM and SIGHUP (Ctrl-C, Ctrl-Break and closing the console on Windows)
// while a command drives the chip: instead of ending the process, each signal is counted
// here, and the bus refuses its next transaction once enough have come (one for a
// command, two for the station, whose first only ends the run after the board). So the
// plug-in ends on its own failure line, the model's flash is saved as the chip holds it,
// and the host can say what the chip now holds.
#ifndef RTD_HOST_SYSTEM_STOPREQUEST_H
#define RTD_HOST_SYSTEM_STOPREQUEST_H

namespace rtd::host {

// Routes the signals above to StopSignals() from now until the process ends.
void CatchStopRequest();

// A write to a closed pipe (`isphost write F | head`) fails instead of ending the
// process: the command goes on and the host reports the lost output at the end.
void IgnoreBrokenPipe();

// How many stop signals came since CatchStopRequest.
int StopSignals();
inline bool StopRequested() {
    return StopSignals() > 0;
}

// Sets the count as signals would (tests, and a front end with its own stop button).
void SetStopSignals(int count);
inline void SetStopRequested(bool stop) {
    SetStopSignals(stop ? 1 : 0);
}

// The line written to stderr, from the signal handler itself, when the first signal
// arrives (the station's "finishing board 3, ..."); empty: none. Copied; at most 200
// bytes are kept.
void SetFirstStopNotice(const char* line);

// The handler's own work, for tests where no signal can be delivered (wine's console).
void OnStopSignal();

} // namespace rtd::host

#endif

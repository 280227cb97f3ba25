// isphost station FILE --log LOG.csv: programs boards one after another. For each board it
// waits until a chip answers the probe, writes FILE (the write command, pre-flight
// included), verifies it, appends a row to the log and prints the count of passed and
// failed boards, then waits until the board is gone. Ctrl-C ends after the board in
// progress; --boards N after N boards.
#ifndef RTD_HOST_CLI_STATION_H
#define RTD_HOST_CLI_STATION_H

#include <ostream>

namespace rtd::host {

struct Options;

// Exit status 0 when every board passed, 1 when one failed or the log could not be
// written, 2 on a usage or set-up error.
int RunStation(const Options& options, std::ostream& out, std::ostream& err);

} // namespace rtd::host

#endif

// `isphost check`: opens the bus as a write would (the lock included) and runs the
// pre-flight alone; every finding on stdout, then "check: OK", or the refusal on stderr
// and exit status 2.
#ifndef RTD_HOST_CLI_PREFLIGHTCOMMAND_H
#define RTD_HOST_CLI_PREFLIGHTCOMMAND_H

#include <ostream>

namespace rtd::host {

struct Options;

int RunCheck(const Options& options, std::ostream& out, std::ostream& err);

} // namespace rtd::host

#endif

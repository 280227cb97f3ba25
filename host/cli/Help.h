// The text of isphost --help and --version.
#ifndef RTD_HOST_CLI_HELP_H
#define RTD_HOST_CLI_HELP_H

#include <string>

namespace rtd::host {

std::string HelpText();
const char* VersionText();

} // namespace rtd::host

#endif

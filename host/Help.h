// The text of isphost --help and --version.
#ifndef RTD_HOST_HELP_H
#define RTD_HOST_HELP_H

namespace rtd::host {

const char* HelpText();
const char* VersionText();

} // namespace rtd::host

#endif

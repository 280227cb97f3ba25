// The hosts' check of a firmware file before a command hands it to the plug-in, which
// programs what it can read of it: a missing or unreadable file, a folder, an empty file,
// a HEX file cut short or with a record the read would stop at, a raw image over 131,072
// bytes, a packed file that is not one or is cut short. --force skips it.
#ifndef RTD_HOST_SESSION_FILECHECK_H
#define RTD_HOST_SESSION_FILECHECK_H

#include <string>

namespace rtd::host {

// Empty when the file may be written; else one line: the file, what is wrong, what to do.
std::string CheckFirmwareFile(const std::string& path);

// The same line without the advice, for `image info` under --force.
std::string FirmwareFileProblem(const std::string& path);

} // namespace rtd::host

#endif

// The stop handler's one output, made by each system in the way that is safe inside its
// handler (write(2) on POSIX, WriteFile on Windows' handler thread).
#ifndef RTD_HOST_SYSTEM_STOPNOTICE_H
#define RTD_HOST_SYSTEM_STOPNOTICE_H

#include <cstddef>

namespace rtd::host {

// Writes `length` bytes of `text` to stderr; a failure loses a courtesy line only.
void WriteStopNotice(const char* text, size_t length);

} // namespace rtd::host

#endif

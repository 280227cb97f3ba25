#include "TerminalColumns.h"

#include <sys/ioctl.h>
#include <unistd.h>

namespace rtd::host {

int SystemColumns() {
    struct winsize size = {};
    return ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 ? size.ws_col : 0;
}

} // namespace rtd::host

// isphost: the reference host for the RTD2120 plug-in.
#include <iostream>
#include <string>
#include <vector>

#if defined(_WIN32)
#include <io.h>
#define RTD_ISATTY(fd) _isatty(fd)
#else
#include <unistd.h>
#define RTD_ISATTY(fd) isatty(fd)
#endif

#include "HostMain.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return rtd::host::RunHost(args, std::cout, std::cerr, RTD_ISATTY(1) != 0);
}

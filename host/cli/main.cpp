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
#include "StopRequest.h"

int main(int argc, char** argv) {
    // A reader that went away (`| head`) must not end a write half-way: the command goes
    // on, its status is the chip's, and the lost output is said at the end.
    rtd::host::IgnoreBrokenPipe();
    std::vector<std::string> args(argv + 1, argv + argc);
    const int status = rtd::host::RunHost(args, std::cout, std::cerr, RTD_ISATTY(2) != 0);
    if (!std::cout.flush())
        std::cerr << "isphost: cannot write to standard output: some output was lost\n";
    return status;
}

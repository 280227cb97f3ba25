#include "DisplayCheck.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

namespace rtd::host {

namespace {

constexpr const char* kHow = "run it in a desktop session, or under xvfb-run";

// The X server's local socket for a DISPLAY of the form ":N" or "unix:N" (a screen
// after a dot is ignored), as the server names it in the file system or abstractly.
bool LocalServerAnswers(const std::string& display) {
    const size_t colon = display.rfind(':');
    const std::string host = display.substr(0, colon);
    std::string number = display.substr(colon + 1);
    number = number.substr(0, number.find('.'));
    if (!host.empty() && host != "unix")
        return true; // a server over the network: the dialog's own open tells
    const std::string path = "/tmp/.X11-unix/X" + number;
    for (bool abstract : {true, false}) {
        const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0)
            return true;
        sockaddr_un address = {};
        address.sun_family = AF_UNIX;
        const size_t offset = abstract ? 1 : 0;
        std::memcpy(address.sun_path + offset, path.c_str(),
                    std::min(path.size(), sizeof address.sun_path - 1 - offset));
        const socklen_t length =
            static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + offset + path.size());
        const bool connected =
            connect(fd, reinterpret_cast<const sockaddr*>(&address), length) == 0;
        close(fd);
        if (connected)
            return true;
    }
    return false;
}

} // namespace

std::string NoDisplayReason() {
    // The dialogs are X11 windows: under Wayland they need XWayland's DISPLAY.
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) {
        const char* wayland = std::getenv("WAYLAND_DISPLAY");
        return std::string("no display is available (DISPLAY is not set") +
               (wayland && *wayland ? "; the dialogs need XWayland under Wayland" : "") +
               "): " + kHow;
    }
    if (std::strchr(display, ':') && !LocalServerAnswers(display))
        return std::string("no display is available (the display ") + display +
               " cannot be opened): " + kHow;
    return "";
}

} // namespace rtd::host

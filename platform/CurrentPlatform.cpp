#include "platform/Platform.h"

namespace rtd {

Platform& NativePlatform(); // defined by the Windows or POSIX implementation

namespace {
Platform* installed = nullptr;
}

Platform& CurrentPlatform() { return installed ? *installed : NativePlatform(); }

Platform* InstallPlatform(Platform* platform) {
    Platform* previous = installed;
    installed = platform;
    return previous;
}

} // namespace rtd

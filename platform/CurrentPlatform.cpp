#include "Platform.h"

namespace rtd {

namespace {
Platform* installed = nullptr;
}

Platform& CurrentPlatform() {
    return installed ? *installed : NativePlatform();
}

std::string Platform::ExecutableFolder() {
    std::string path = ExecutablePath();
    size_t folderEnd = 0;
    for (size_t i = 0; i < path.size(); ++i)
        if (IsFolderSeparator(path[i]))
            folderEnd = i + 1;
    path.resize(folderEnd);
    return path;
}

std::string Platform::SettingsFilePath(const std::string& fileName) {
    return ExecutableFolder() + fileName;
}

std::string Platform::DataFilePath(const std::string& fileName) {
    return ExecutableFolder() + fileName;
}

Platform* InstallPlatform(Platform* platform) {
    Platform* previous = installed;
    installed = platform;
    return previous;
}

} // namespace rtd

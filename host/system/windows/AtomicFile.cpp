#include "AtomicFile.h"

#include <atomic>
#include <cstdio>

#include <io.h>
#include <windows.h>

namespace rtd::host {

namespace {

// Opens an existing file or folder for its information only.
HANDLE OpenForInformation(const std::string& path) {
    return CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

bool FileIdentity(const std::string& path, BY_HANDLE_FILE_INFORMATION* info) {
    const HANDLE file = OpenForInformation(path);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const bool ok = GetFileInformationByHandle(file, info) != 0;
    CloseHandle(file);
    return ok;
}

} // namespace

namespace atomic_file {

std::string TemporaryName(const std::string& target) {
    static std::atomic<unsigned> next{0};
    return target + ".tmp-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(next++);
}

bool SyncToDisk(std::FILE* file) {
    return _commit(_fileno(file)) == 0;
}

bool RenameOver(const std::string& from, const std::string& to, std::string* error) {
    if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    *error = "cannot replace " + to + ": error " + std::to_string(GetLastError());
    return false;
}

} // namespace atomic_file

bool IsSameFile(const std::string& a, const std::string& b) {
    BY_HANDLE_FILE_INFORMATION first, second;
    return FileIdentity(a, &first) && FileIdentity(b, &second) &&
           first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
           first.nFileIndexHigh == second.nFileIndexHigh &&
           first.nFileIndexLow == second.nFileIndexLow;
}

} // namespace rtd::host

#include "AtomicFile.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include <sys/stat.h>
#include <unistd.h>

namespace rtd::host {

namespace atomic_file {

std::string TemporaryName(const std::string& target) {
    static std::atomic<unsigned> next{0};
    return target + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(next++);
}

bool SyncToDisk(std::FILE* file) {
    return ::fsync(::fileno(file)) == 0;
}

bool RenameOver(const std::string& from, const std::string& to, std::string* error) {
    if (std::rename(from.c_str(), to.c_str()) == 0)
        return true;
    *error = "cannot replace " + to + ": " + std::strerror(errno);
    return false;
}

} // namespace atomic_file

bool IsSameFile(const std::string& a, const std::string& b) {
    struct stat first, second;
    return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

} // namespace rtd::host

#include "FileLock.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace rtd::host {

namespace {

class PosixFileLock : public FileLock {
public:
    PosixFileLock(int fd, bool created) : fd_(fd), created_(created) {}
    ~PosixFileLock() override { ::close(fd_); }
    bool Created() const override { return created_; }

private:
    int fd_;
    bool created_;
};

} // namespace

std::unique_ptr<FileLock> FileLock::Acquire(const std::string& path, Outcome* outcome,
                                            std::string* error) {
    *outcome = Outcome::Failed;
    bool created = false;
    int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0 && errno == ENOENT) {
        fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        created = fd >= 0;
        if (fd < 0 && errno == EEXIST) // another host made it in between
            fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    }
    if (fd < 0) {
        *error = path + ": cannot open: " + std::strerror(errno);
        return nullptr;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int reason = errno;
        ::close(fd);
        *outcome = reason == EWOULDBLOCK ? Outcome::Busy : Outcome::Failed;
        *error = path + ": cannot lock: " + std::strerror(reason);
        return nullptr;
    }
    *outcome = Outcome::Locked;
    return std::make_unique<PosixFileLock>(fd, created);
}

} // namespace rtd::host

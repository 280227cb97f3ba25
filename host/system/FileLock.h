// An exclusive lock on a file for the length of one command: the simulated bus locks its
// --sim-flash file, so that two hosts never drive one simulated chip at once. The lock
// is advisory (flock on POSIX; on Windows LockFileEx on a byte far past the end, so that
// the file itself stays readable and writable); it ends with the object or the process.
#ifndef RTD_HOST_SYSTEM_FILELOCK_H
#define RTD_HOST_SYSTEM_FILELOCK_H

#include <memory>
#include <string>

namespace rtd::host {

class FileLock {
public:
    enum class Outcome { Locked, Busy, Failed };

    // Opens `path`, creating it empty when missing, and locks it without waiting. Null
    // when it is not Locked; `error` then says why.
    static std::unique_ptr<FileLock> Acquire(const std::string& path, Outcome* outcome,
                                             std::string* error);
    virtual ~FileLock() = default;

    // The file did not exist before Acquire: it is still empty until someone writes it.
    virtual bool Created() const = 0;
};

} // namespace rtd::host

#endif

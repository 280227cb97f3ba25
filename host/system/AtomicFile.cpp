#include "AtomicFile.h"

#include <cerrno>
#include <cstring>

namespace rtd::host {

AtomicFile::~AtomicFile() {
    Abandon();
}

bool AtomicFile::Open(const std::string& target, std::string* error) {
    Abandon();
    target_ = target;
    temporary_ = atomic_file::TemporaryName(target);
    failed_ = false;
    file_ = std::fopen(temporary_.c_str(), "wb");
    if (!file_ && error)
        *error = "cannot create " + target + ": " + std::strerror(errno);
    return file_ != nullptr;
}

bool AtomicFile::Write(const void* data, size_t size) {
    if (!file_ || std::fwrite(data, 1, size, file_) != size)
        failed_ = true;
    return !failed_;
}

bool AtomicFile::Commit(std::string* error) {
    if (!file_) {
        *error = "cannot write " + target_;
        return false;
    }
    int reason = 0;
    if (failed_ || std::ferror(file_) || std::fflush(file_) != 0 ||
        !atomic_file::SyncToDisk(file_)) {
        failed_ = true;
        reason = errno;
    }
    if (std::fclose(file_) != 0 && !failed_) {
        failed_ = true;
        reason = errno;
    }
    file_ = nullptr;
    if (failed_) {
        std::remove(temporary_.c_str());
        *error = "cannot write " + target_ + ": " + std::strerror(reason ? reason : EIO);
        return false;
    }
    if (!atomic_file::RenameOver(temporary_, target_, error)) {
        std::remove(temporary_.c_str());
        return false;
    }
    return true;
}

void AtomicFile::Abandon() {
    if (!file_)
        return;
    std::fclose(file_);
    file_ = nullptr;
    std::remove(temporary_.c_str());
}

bool WriteFileAtomically(const std::string& path, const void* data, size_t size,
                         std::string* error) {
    AtomicFile file;
    if (!file.Open(path, error))
        return false;
    file.Write(data, size);
    return file.Commit(error);
}

} // namespace rtd::host

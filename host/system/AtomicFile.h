// A file the hosts write whole or not at all: the bytes go to a temporary file in the
// target's folder, and only once they are complete and flushed to the disk is it renamed
// over the target. A failed or abandoned write leaves the old file, or none, and removes
// the temporary file.
#ifndef RTD_HOST_SYSTEM_ATOMICFILE_H
#define RTD_HOST_SYSTEM_ATOMICFILE_H

#include <cstddef>
#include <cstdio>
#include <string>

namespace rtd::host {

class AtomicFile {
public:
    AtomicFile() = default;
    ~AtomicFile(); // abandons a file not committed
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Creates the temporary file for `target`. False, with a one-line reason.
    bool Open(const std::string& target, std::string* error);
    // The temporary file's stream, null when not open.
    std::FILE* Stream() const { return file_; }
    bool Write(const void* data, size_t size);
    // Flushes, syncs and renames over the target. False, with a reason, when any step
    // failed (a write before included): the target is then untouched.
    bool Commit(std::string* error);
    // Closes and removes the temporary file; the target is untouched.
    void Abandon();

private:
    std::FILE* file_ = nullptr;
    std::string target_;
    std::string temporary_;
    bool failed_ = false;
};

// Writes `size` bytes to `path` through an AtomicFile.
bool WriteFileAtomically(const std::string& path, const void* data, size_t size,
                         std::string* error);

// True when both paths name one existing file, through links too (device and inode on
// POSIX, volume and file index on Windows).
bool IsSameFile(const std::string& a, const std::string& b);

// The system's parts of it, in posix/ and windows/.
namespace atomic_file {
// A name beside `target` no other process uses.
std::string TemporaryName(const std::string& target);
// Pushes the stream's data to the disk.
bool SyncToDisk(std::FILE* file);
// Renames `from` over `to`, replacing it.
bool RenameOver(const std::string& from, const std::string& to, std::string* error);
} // namespace atomic_file

} // namespace rtd::host

#endif

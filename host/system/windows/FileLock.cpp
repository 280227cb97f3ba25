#include "FileLock.h"

#include <windows.h>

namespace rtd::host {

namespace {

// One byte at the top of the 63-bit range: locking past the end is allowed, and leaves
// every byte of the file open to reads and writes through other handles.
constexpr DWORD kLockOffsetHigh = 0x7FFFFFFF;
constexpr DWORD kLockOffsetLow = 0xFFFFFFFE;

class WindowsFileLock : public FileLock {
public:
    WindowsFileLock(HANDLE file, bool created) : file_(file), created_(created) {}
    ~WindowsFileLock() override {
        OVERLAPPED at = {};
        at.Offset = kLockOffsetLow;
        at.OffsetHigh = kLockOffsetHigh;
        UnlockFileEx(file_, 0, 1, 0, &at);
        CloseHandle(file_);
    }
    bool Created() const override { return created_; }

private:
    HANDLE file_;
    bool created_;
};

std::string SystemMessage(DWORD code) {
    char text[256] = {};
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                   text, sizeof text, nullptr);
    std::string s = text;
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r' || s.back() == ' '))
        s.pop_back();
    return s.empty() ? "error " + std::to_string(code) : s;
}

} // namespace

std::unique_ptr<FileLock> FileLock::Acquire(const std::string& path, Outcome* outcome,
                                            std::string* error) {
    *outcome = Outcome::Failed;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        *error = path + ": cannot open: " + SystemMessage(GetLastError());
        return nullptr;
    }
    const bool created = GetLastError() != ERROR_ALREADY_EXISTS;
    OVERLAPPED at = {};
    at.Offset = kLockOffsetLow;
    at.OffsetHigh = kLockOffsetHigh;
    if (!LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) {
        const DWORD reason = GetLastError();
        CloseHandle(file);
        *outcome = reason == ERROR_LOCK_VIOLATION ? Outcome::Busy : Outcome::Failed;
        *error = path + ": cannot lock: " + SystemMessage(reason);
        return nullptr;
    }
    *outcome = Outcome::Locked;
    return std::make_unique<WindowsFileLock>(file, created);
}

} // namespace rtd::host

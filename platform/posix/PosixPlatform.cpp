// The native platform on Linux and other POSIX systems.
#if defined(__linux__)
#include <sys/prctl.h>
#endif
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

#include "Platform.h"
#include "posix/IniFile.h"
#include "rtd2120/rtd2120.h"

namespace rtd {
namespace {

class PosixPlatform : public Platform {
public:
    void SleepMs(unsigned ms) override {
        timespec rest{static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * 1000000L};
        while (nanosleep(&rest, &rest) == -1 && errno == EINTR) {
        }
    }

    uint64_t MonotonicMs() override {
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        return static_cast<uint64_t>(now.tv_sec) * 1000u +
               static_cast<uint64_t>(now.tv_nsec / 1000000L);
    }

    void PostProgress(TForm* form, int percent) override {
        if (!form)
            return;
        form->PostWindowMessage(RTD_PROGRESS_MESSAGE, static_cast<uintptr_t>(percent), 0);
        form->ProcessMessages();
    }

    std::string ReadIniString(const std::string& file, const std::string& section,
                              const std::string& key, const std::string& fallback) override {
        return posix::ReadIniValue(file, section, key, fallback);
    }

    bool WriteIniString(const std::string& file, const std::string& section, const std::string& key,
                        const std::string& value) override {
        return posix::WriteIniValue(file, section, key, value);
    }

    void FlushIni(const std::string&) override {} // writes go straight to the file

    std::string ExecutablePath() override {
        char path[PATH_MAX];
        const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
        if (length <= 0)
            return std::string();
        return std::string(path, static_cast<size_t>(length));
    }

    // Windows-style separators count too, so a path written for a Windows host still
    // finds its folder.
    bool IsFolderSeparator(char c) override { return c == '/' || c == '\\' || c == ':'; }

    bool IsRegularFile(const std::string& path) override {
        struct stat info {};
        return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
    }

    // Linux wakes a sleeping thread up to its timer slack (50 us by default) late, which
    // adds 5% to each 1 ms wait: the command's thread holds the minimum slack in between.
    // The slack is the thread's own, so is the count; only the outermost pair changes it.
    void BeginCommand() override {
#if defined(__linux__)
        if (commandDepth_++ == 0) {
            savedSlack_ = prctl(PR_GET_TIMERSLACK, 0, 0, 0, 0);
            prctl(PR_SET_TIMERSLACK, 1UL, 0, 0, 0);
        }
#endif
    }

    void EndCommand() override {
#if defined(__linux__)
        // 0 would set the thread's default instead: only a slack that was read is put back.
        if (commandDepth_ > 0 && --commandDepth_ == 0 && savedSlack_ > 0)
            prctl(PR_SET_TIMERSLACK, static_cast<unsigned long>(savedSlack_), 0, 0, 0);
#endif
    }

private:
    static thread_local int commandDepth_;
    static thread_local long savedSlack_;
};

thread_local int PosixPlatform::commandDepth_ = 0;
thread_local long PosixPlatform::savedSlack_ = 0;

} // namespace

Platform& NativePlatform() {
    static PosixPlatform platform;
    return platform;
}

} // namespace rtd

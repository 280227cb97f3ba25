// The native platform on Linux and other POSIX systems.
#if defined(__linux__)
#include <sys/prctl.h>
#endif
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "Platform.h"
#include "posix/IniFile.h"
#include "posix/UserFolders.h"
#include "rtd2120/rtd2120.h"

namespace rtd {
namespace {

std::string Variable(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// A folder owned by root under a system prefix belongs to the package manager: an
// installed program writes nothing there, whoever runs it.
bool IsSystemFolder(const std::string& folder) {
    struct stat info {};
    return posix::IsSystemPrefix(folder) && stat(folder.c_str(), &info) == 0 && info.st_uid == 0;
}

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

    std::string SettingsFilePath(const std::string& fileName) override {
        return Place(posix::UserFolderKind::Config, "XDG_CONFIG_HOME", fileName);
    }

    std::string DataFilePath(const std::string& fileName) override {
        return Place(posix::UserFolderKind::Data, "XDG_DATA_HOME", fileName);
    }

    // Each missing folder on the way is made for the user alone, as XDG asks.
    bool MakeFolderFor(const std::string& path) override {
        for (size_t slash = path.find('/', 1); slash != std::string::npos;
             slash = path.find('/', slash + 1)) {
            const std::string folder = path.substr(0, slash);
            struct stat info {};
            if (stat(folder.c_str(), &info) == 0) {
                if (!S_ISDIR(info.st_mode))
                    return false;
            } else if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
                return false;
            }
        }
        return true;
    }

private:
    static thread_local int commandDepth_;
    static thread_local long savedSlack_;
    std::string Place(posix::UserFolderKind kind, const char* variable,
                      const std::string& fileName) {
        posix::FilePlaceFacts facts;
        facts.exeFolder = ExecutableFolder();
        facts.fileBeside = IsRegularFile(facts.exeFolder + fileName);
        facts.folderWritable =
            !facts.exeFolder.empty() && access(facts.exeFolder.c_str(), W_OK) == 0;
        facts.systemFolder = IsSystemFolder(facts.exeFolder);
        facts.xdgHome = Variable(variable);
        facts.home = Variable("HOME");
        return posix::ChooseFilePlace(facts, kind, fileName);
    }
};

thread_local int PosixPlatform::commandDepth_ = 0;
thread_local long PosixPlatform::savedSlack_ = 0;

} // namespace

Platform& NativePlatform() {
    static PosixPlatform platform;
    return platform;
}

} // namespace rtd

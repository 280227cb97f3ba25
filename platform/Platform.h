// The operating-system services the plug-in uses, behind one interface. Nothing above
// this folder includes an OS header: it calls the current Platform instead.
#ifndef RTD_PLATFORM_PLATFORM_H
#define RTD_PLATFORM_PLATFORM_H

#include <cstdint>
#include <string>

class TForm;

namespace rtd {

class Platform {
public:
    virtual ~Platform() = default;

    // Plain sleep of the calling thread (the fixed protocol waits).
    virtual void SleepMs(unsigned ms) = 0;

    // Monotonic milliseconds since an arbitrary origin; never jumps with the time of day.
    virtual uint64_t MonotonicMs() = 0;

    // Posts progress message 1025 (wParam = percent, lParam = 0) to the form, then runs
    // one pass of the calling thread's pending message processing. A null form: nothing.
    virtual void PostProgress(TForm* form, int percent) = 0;

    // Ini file access with the Windows profile functions' rules: section and key names
    // case-insensitive, a missing file/section/key reads as `fallback`, other sections and
    // keys are kept byte for byte, the file is created on first write. Write returns false
    // when the file cannot be written.
    virtual std::string ReadIniString(const std::string& file, const std::string& section,
                                      const std::string& key, const std::string& fallback) = 0;
    virtual bool WriteIniString(const std::string& file, const std::string& section,
                                const std::string& key, const std::string& value) = 0;
    // Flushes cached writes for the file (no-op where writes are not cached).
    virtual void FlushIni(const std::string& file) = 0;

    // Full path of the process's main executable (not of the plug-in library).
    virtual std::string ExecutablePath() = 0;
    // True when `c` ends a folder name in this system's paths.
    virtual bool IsFolderSeparator(char c) = 0;
    // ExecutablePath() up to and including its last folder separator; empty when it has
    // none. The path is taken whole: cutting a long path would name some other folder.
    std::string ExecutableFolder();

    // True when `path` names an existing regular file (not a folder).
    virtual bool IsRegularFile(const std::string& path) = 0;

    // Where a settings file named `fileName` is read and written. Here: beside the
    // executable; POSIX moves it to the user's configuration folder when that folder is
    // not for writing (an installed package).
    virtual std::string SettingsFilePath(const std::string& fileName);
    // Where a data file named `fileName` is kept (ispgui's simulated flash): beside the
    // executable here; POSIX keeps it in the user's data folder when that is not writable.
    virtual std::string DataFilePath(const std::string& fileName);
    // Creates the folders leading to `path` that are missing, for the user alone; false
    // when one cannot be made. Nothing to do where the file goes beside the executable.
    virtual bool MakeFolderFor(const std::string&) { return true; }

    // Bracket one host command. Windows holds a 1 ms timer period in between so that the
    // 1 ms waits are not stretched to the default scheduler tick.
    virtual void BeginCommand() {}
    virtual void EndCommand() {}
};

// The platform in use: the native one unless a test installed another.
Platform& CurrentPlatform();
// The operating system's own implementation, whatever is installed.
Platform& NativePlatform();
// Installs `platform` (not owned) as the current one; null restores the native one.
// Returns the previously installed platform (null when it was the native one).
Platform* InstallPlatform(Platform* platform);

// Holds BeginCommand/EndCommand for one scope.
class CommandScope {
public:
    CommandScope() { CurrentPlatform().BeginCommand(); }
    ~CommandScope() { CurrentPlatform().EndCommand(); }
    CommandScope(const CommandScope&) = delete;
    CommandScope& operator=(const CommandScope&) = delete;
};

} // namespace rtd

#endif

// A platform for tests: waits advance a virtual clock instead of sleeping, and waits and
// progress messages are appended to an event log shared with the other recorders, so a
// test can compare one whole interleaved sequence. File services go to the native
// platform, except the executable path, which a test may override.
#ifndef RTD_TESTS_SUPPORT_RECORDINGPLATFORM_H
#define RTD_TESTS_SUPPORT_RECORDINGPLATFORM_H

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "Platform.h"

namespace rtd {

class RecordingPlatform : public Platform {
public:
    // Events appended: "S <ms>" for a wait, "P <percent>" for a progress message.
    explicit RecordingPlatform(std::vector<std::string>* events) : events_(events) {}

    void SleepMs(unsigned ms) override;
    uint64_t MonotonicMs() override { return nowMs_; }
    void PostProgress(TForm* form, int percent) override;
    std::string ReadIniString(const std::string& file, const std::string& section,
                              const std::string& key, const std::string& fallback) override;
    bool WriteIniString(const std::string& file, const std::string& section, const std::string& key,
                        const std::string& value) override;
    void FlushIni(const std::string& file) override;
    std::string ExecutablePath() override;
    bool IsFolderSeparator(char c) override { return NativePlatform().IsFolderSeparator(c); }
    bool IsRegularFile(const std::string& path) override;
    void BeginCommand() override { ++commandDepth_; }
    void EndCommand() override { --commandDepth_; }

    // Virtual clock, in milliseconds; only waits and Advance move it.
    uint64_t NowMs() const { return nowMs_; }
    void Advance(uint64_t ms) { nowMs_ += ms; }
    // Sum of all waits so far.
    uint64_t TotalSleptMs() const { return sleptMs_; }
    // Overrides ExecutablePath (empty: the real one).
    void SetExecutablePath(const std::string& path) { exePath_ = path; }
    // Called after each progress message, as the host's message processing would be.
    void SetOnProgress(std::function<void(int)> hook) { onProgress_ = std::move(hook); }
    // Depth of BeginCommand/EndCommand nesting (0 outside a command).
    int CommandDepth() const { return commandDepth_; }
    // Progress messages posted to `form` so far.
    int ProgressPostedTo(const TForm* form) const {
        const auto found = postedTo_.find(form);
        return found == postedTo_.end() ? 0 : found->second;
    }

private:
    std::vector<std::string>* events_;
    uint64_t nowMs_ = 0;
    uint64_t sleptMs_ = 0;
    std::string exePath_;
    std::function<void(int)> onProgress_;
    int commandDepth_ = 0;
    std::map<const TForm*, int> postedTo_;
};

// Installs a platform for the lifetime of the scope and restores the previous one.
class ScopedPlatform {
public:
    explicit ScopedPlatform(Platform* platform) : previous_(InstallPlatform(platform)) {}
    ~ScopedPlatform() { InstallPlatform(previous_); }
    ScopedPlatform(const ScopedPlatform&) = delete;
    ScopedPlatform& operator=(const ScopedPlatform&) = delete;

private:
    Platform* previous_;
};

} // namespace rtd

#endif

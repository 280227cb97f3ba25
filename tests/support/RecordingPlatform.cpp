#include "RecordingPlatform.h"

namespace rtd {

void RecordingPlatform::SleepMs(unsigned ms) {
    nowMs_ += ms;
    sleptMs_ += ms;
    if (events_)
        events_->push_back("S " + std::to_string(ms));
}

void RecordingPlatform::PostProgress(TForm* form, int percent) {
    if (!form)
        return;
    ++postedTo_[form];
    if (events_)
        events_->push_back("P " + std::to_string(percent));
    if (onProgress_)
        onProgress_(percent);
}

std::string RecordingPlatform::ReadIniString(const std::string& file, const std::string& section,
                                             const std::string& key, const std::string& fallback) {
    return NativePlatform().ReadIniString(file, section, key, fallback);
}

bool RecordingPlatform::WriteIniString(const std::string& file, const std::string& section,
                                       const std::string& key, const std::string& value) {
    return NativePlatform().WriteIniString(file, section, key, value);
}

void RecordingPlatform::FlushIni(const std::string& file) {
    NativePlatform().FlushIni(file);
}

std::string RecordingPlatform::ExecutablePath() {
    return exePath_.empty() ? NativePlatform().ExecutablePath() : exePath_;
}

bool RecordingPlatform::IsRegularFile(const std::string& path) {
    return NativePlatform().IsRegularFile(path);
}

} // namespace rtd

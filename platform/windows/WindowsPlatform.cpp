// The native platform on Windows: the Win32 calls behind each service.
#include <windows.h>

#include <mmsystem.h>

#include <vector>

#include "Platform.h"
#include "rtd2120/rtd2120.h"

namespace rtd {
namespace {

// Dispatches every message waiting in the calling thread's queue, as the host
// framework's ProcessMessages does. A quit request is put back and ends the pump, so
// the host's own loop still sees it and can close.
void PumpThreadMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

class WindowsPlatform : public Platform {
public:
    void SleepMs(unsigned ms) override { Sleep(ms); }

    uint64_t MonotonicMs() override {
        LARGE_INTEGER frequency, counter;
        QueryPerformanceFrequency(&frequency);
        QueryPerformanceCounter(&counter);
        const uint64_t ticks = static_cast<uint64_t>(counter.QuadPart);
        const uint64_t perSecond = static_cast<uint64_t>(frequency.QuadPart);
        // Split so that the multiplication cannot overflow however long the machine runs.
        return ticks / perSecond * 1000u + ticks % perSecond * 1000u / perSecond;
    }

    void PostProgress(TForm* form, int percent) override {
        if (!form)
            return;
        // A zero handle would turn the post into a thread message the host never asked for.
        HWND window = reinterpret_cast<HWND>(form->GetHandle());
        if (window)
            PostMessageA(window, RTD_PROGRESS_MESSAGE, static_cast<WPARAM>(percent), 0);
        PumpThreadMessages();
    }

    std::string ReadIniString(const std::string& file, const std::string& section,
                              const std::string& key, const std::string& fallback) override {
        // The profile function truncates silently; grow the buffer until the value fits.
        std::vector<char> buffer(256);
        for (;;) {
            const DWORD length = GetPrivateProfileStringA(
                section.c_str(), key.c_str(), fallback.c_str(), buffer.data(),
                static_cast<DWORD>(buffer.size()), file.c_str());
            if (length + 1 < buffer.size() || buffer.size() >= 1u << 20)
                return std::string(buffer.data(), length);
            buffer.resize(buffer.size() * 2);
        }
    }

    bool WriteIniString(const std::string& file, const std::string& section, const std::string& key,
                        const std::string& value) override {
        return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(),
                                          file.c_str()) != 0;
    }

    void FlushIni(const std::string& file) override {
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, file.c_str());
    }

    std::string ExecutablePath() override {
        std::vector<char> buffer(MAX_PATH);
        for (;;) {
            const DWORD length =
                GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
            if (length == 0)
                return std::string();
            if (length < buffer.size())
                return std::string(buffer.data(), length);
            buffer.resize(buffer.size() * 2);
        }
    }

    bool IsFolderSeparator(char c) override { return c == '\\' || c == ':'; }

    bool IsRegularFile(const std::string& path) override {
        const DWORD attributes = GetFileAttributesA(path.c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
    }

    // Nested commands (a command started from inside another's message processing) must
    // not end the raised timer resolution early, so only the outermost pair changes it.
    void BeginCommand() override {
        if (commandDepth_++ == 0)
            timeBeginPeriod(1);
    }

    void EndCommand() override {
        if (commandDepth_ > 0 && --commandDepth_ == 0)
            timeEndPeriod(1);
    }

private:
    int commandDepth_ = 0;
};

} // namespace

Platform& NativePlatform() {
    static WindowsPlatform platform;
    return platform;
}

} // namespace rtd

#include "tests/plugin/PluginFixture.h"

#include <atomic>

#include "isp/Ispunit.h"
#include "plugin/Lifetime.h"

namespace rtd::test {

TempFolder::TempFolder() {
    static std::atomic<int> serial{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    path_ = std::filesystem::temp_directory_path() /
            ("rtd-plugin-" + std::to_string(stamp) + "-" + std::to_string(serial++));
    std::filesystem::create_directories(path_);
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

PluginFixture::PluginFixture() {
    platform.SetExecutablePath((folder.Path() / "host.exe").string());
    PluginAttach();
}

PluginFixture::~PluginFixture() {
    PluginDetach();
}

std::string PluginFixture::SettingsFile() const {
    return (folder.Path() / "Torvan.ini").string();
}

void PluginFixture::HandOverAll() {
    SetInfoList(&list);
    SetMainFrm(&form);
    SetIICInterFace(&bus);
}

} // namespace rtd::test

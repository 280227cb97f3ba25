// A loaded plug-in with recording host objects: the engine object exists, the settings
// file lives in a private temporary folder, and every bus call, wait, progress message
// and list line lands in one event list.
#ifndef RTD_TESTS_PLUGIN_PLUGINFIXTURE_H
#define RTD_TESTS_PLUGIN_PLUGINFIXTURE_H

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/RecordingPlatform.h"
#include "tests/support/Recorders.h"

namespace rtd::test {

// A folder under the system's temporary folder, removed with everything in it.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

class PluginFixture : public ::testing::Test {
protected:
    PluginFixture();
    ~PluginFixture() override;

    // The settings file the engine object reads and writes.
    std::string SettingsFile() const;
    // Hands the recording list, form and bus over through the setter exports.
    void HandOverAll();

    Events events;
    RecordingPlatform platform{&events};
    ScopedPlatform installed{&platform};
    TempFolder folder;
    RecordingStrings list{&events};
    FakeForm form;
    RecordingBus bus{&events, nullptr};
};

} // namespace rtd::test

#endif

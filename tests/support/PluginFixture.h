// A loaded plug-in with recording host objects: the engine object exists, the settings
// file lives in a private temporary folder, and every bus call, wait, progress message
// and list line lands in one event list.
#ifndef RTD_TESTS_SUPPORT_PLUGINFIXTURE_H
#define RTD_TESTS_SUPPORT_PLUGINFIXTURE_H

#include <gtest/gtest.h>

#include <string>

#include "Recorders.h"
#include "RecordingPlatform.h"
#include "TempDir.h"

namespace rtd::test {

class PluginFixture : public ::testing::Test {
protected:
    PluginFixture();
    ~PluginFixture() override;

    // The settings file the engine object reads and writes.
    std::string SettingsFile() const { return folder.Path("Torvan.ini"); }
    // Hands the recording list, form and bus over through the setter exports.
    void HandOverAll();

    Events events;
    RecordingPlatform platform{&events};
    ScopedPlatform installed{&platform};
    TempDir folder;
    RecordingStrings list{&events};
    FakeForm form;
    RecordingBus bus{&events, nullptr};
};

} // namespace rtd::test

#endif

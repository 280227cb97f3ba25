// The host objects a test hands the plug-in, each recording into one event list: the
// platform (waits, progress, a virtual clock, and an executable in a private temporary
// folder, so the settings file lives there), the message list, the main form and the bus.
#ifndef RTD_TESTS_SUPPORT_RECORDINGHOST_H
#define RTD_TESTS_SUPPORT_RECORDINGHOST_H

#include <gtest/gtest.h>

#include <string>

#include "Recorders.h"
#include "RecordingPlatform.h"
#include "TempDir.h"

namespace rtd::test {

class RecordingHost : public ::testing::Test {
protected:
    RecordingHost() { platform.SetExecutablePath(folder.Path("host.exe")); }

    // The settings file the engine object reads and writes.
    std::string SettingsFile() const { return folder.Path("Torvan.ini"); }

    TempDir folder;
    Events events;
    RecordingPlatform platform{&events};
    ScopedPlatform installed{&platform};
    RecordingStrings list{&events};
    FakeForm form;
    // Passes every call on to the chip a test sets with bus.SetInner (none: writes vanish,
    // reads fail).
    RecordingBus bus{&events, nullptr};
};

} // namespace rtd::test

#endif

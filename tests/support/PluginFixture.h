// A loaded plug-in with recording host objects: the engine object exists and every bus
// call, wait, progress message and list line lands in one event list.
#ifndef RTD_TESTS_SUPPORT_PLUGINFIXTURE_H
#define RTD_TESTS_SUPPORT_PLUGINFIXTURE_H

#include "RecordingHost.h"

namespace rtd::test {

class PluginFixture : public RecordingHost {
protected:
    PluginFixture();
    ~PluginFixture() override;

    // Hands the recording list, form and bus over through the setter exports.
    void HandOverAll();
};

} // namespace rtd::test

#endif

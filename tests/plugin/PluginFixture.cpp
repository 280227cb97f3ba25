#include "tests/plugin/PluginFixture.h"

#include "isp/Ispunit.h"
#include "plugin/Lifetime.h"

namespace rtd::test {

PluginFixture::PluginFixture() {
    platform.SetExecutablePath(folder.Path("host.exe"));
    PluginAttach();
}

PluginFixture::~PluginFixture() {
    PluginDetach();
}

void PluginFixture::HandOverAll() {
    SetInfoList(&list);
    SetMainFrm(&form);
    SetIICInterFace(&bus);
}

} // namespace rtd::test

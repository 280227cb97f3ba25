#include "PluginFixture.h"

#include "Ispunit.h"
#include "Lifetime.h"

namespace rtd::test {

PluginFixture::PluginFixture() {
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

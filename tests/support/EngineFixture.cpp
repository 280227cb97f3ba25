#include "EngineFixture.h"

namespace rtd::test {

EngineFixture::EngineFixture() : unit(std::make_unique<TIspUnit>()) {
    unit->SetIicInterface(&bus);
    unit->SetInfoList(&list);
    unit->SetMainFrm(&form);
    IspUnit = unit.get();
}

EngineFixture::~EngineFixture() {
    IspUnit = nullptr;
    unit.reset();
}

} // namespace rtd::test

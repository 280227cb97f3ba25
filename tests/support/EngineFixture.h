// The engine object with the recording host objects handed over, as the plug-in's setters
// hand them over, and the library-global IspUnit pointing at it while the test runs. The
// test sets the chip behind the bus (bus.SetInner).
#ifndef RTD_TESTS_SUPPORT_ENGINEFIXTURE_H
#define RTD_TESTS_SUPPORT_ENGINEFIXTURE_H

#include <memory>

#include "Ispunit.h"
#include "RecordingHost.h"

namespace rtd::test {

class EngineFixture : public RecordingHost {
protected:
    EngineFixture();
    ~EngineFixture() override;

    std::unique_ptr<TIspUnit> unit;
};

} // namespace rtd::test

#endif

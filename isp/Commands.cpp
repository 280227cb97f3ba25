#include "Commands.h"

#include "FailureLines.h"
#include "Ispunit.h"
#include "Sleep.h"

namespace {

// How long the "Enter isp" command keeps sending the entry sequence: until more than ten
// whole seconds have passed.
constexpr uint64_t kEnterIspLastSecond = 10;

// Clears the list, logs "Begin..." and enters ISP mode. Null (after logging failLine)
// when the chip did not enter.
TIspUnit* BeginInIsp(const char* failLine) {
    ClearInfo();
    AddInfo("Begin...");
    if (!IspUnit)
        return nullptr;
    if (!IspUnit->EnterIsp()) {
        AddInfo(failLine);
        return nullptr;
    }
    return IspUnit;
}

} // namespace

bool EraseCommand() {
    TIspUnit* unit = BeginInIsp(rtd::image::kEraseEntryFailedLine);
    if (!unit)
        return false;
    TIspUnit& isp = *unit;
    IspSleep(50);
    AddInfo("Erase...");
    // A failed erase leaves "Erase..." as the last line and the chip in ISP mode.
    if (!isp.EraseChip())
        return false;
    IspSleep(100);
    AddInfo("Reset...");
    isp.ExitIsp();
    return true;
}

bool ResetCommand() {
    TIspUnit* unit = BeginInIsp(rtd::image::kResetEntryFailedLine);
    if (!unit)
        return false;
    AddInfo("Reset...");
    unit->ExitIsp();
    return true;
}

bool EnterIspCommand() {
    if (!IspUnit)
        return true;
    TIspUnit& isp = *IspUnit;
    // Monotonic time: a change of the time of day (midnight, a clock adjustment) neither
    // ends the loop early nor stretches it.
    rtd::Platform& platform = rtd::CurrentPlatform();
    const uint64_t start = platform.MonotonicMs();
    for (;;) {
        isp.EnterIsp();
        const uint64_t elapsed = (platform.MonotonicMs() - start) / 1000;
        if (elapsed > kEnterIspLastSecond)
            return true;
        isp.PostProgress(static_cast<int>(elapsed * 10));
    }
}

#include "Writeunit.h"

#include <vector>

#include "Commands.h"
#include "Ispunit.h"
#include "Platform.h"

namespace {

using rtd::image::FirmwarePlan;
using rtd::image::PlanStatus;

bool IsRegularFile(const std::string& path) {
    return rtd::CurrentPlatform().IsRegularFile(path);
}

bool Refuse(PlanStatus status) {
    AddInfo(status == PlanStatus::OpenError ? "File open error." : "File format error.");
    return false;
}

// Bank 0 erases the chip and stays in ISP mode when bank 1 follows; bank 1 is written
// without a second erase and takes the chip out of ISP mode. A failed bank 0 ends it.
bool ProgramPlan(const FirmwarePlan& plan, bool announceBanks) {
    if (announceBanks)
        AddInfo("Fire Bank0...");
    if (!ProgramBank(plan.Bank(0), 0, true, !plan.programBank1))
        return false;
    if (!plan.programBank1)
        return true;
    if (announceBanks)
        AddInfo("Fire Bank1...");
    return ProgramBank(plan.Bank(1), 1, false, true);
}

} // namespace

bool WriteFirmware(const std::string& path) {
    ClearInfo();
    AddInfo("Begin...");
    switch (rtd::image::FlowForPath(path)) {
    case rtd::image::FirmwareFlow::Hex:
        return WriteHexFile(path);
    case rtd::image::FirmwareFlow::Raw:
        return WriteBinFile(path);
    case rtd::image::FirmwareFlow::Packed:
        break;
    }
    return WritePackedFile(path);
}

bool WriteHexFile(const std::string& path) {
    const bool autoFireSecond = IspUnit != nullptr && IspUnit->AutoFireSecond;
    const FirmwarePlan plan = rtd::image::PlanHexFirmware(path, autoFireSecond, IsRegularFile);
    if (!plan.Ready())
        return Refuse(plan.status);
    return ProgramPlan(plan, false);
}

bool WriteBinFile(const std::string& path) {
    const FirmwarePlan plan = rtd::image::PlanRawFirmware(path);
    if (!plan.Ready())
        return Refuse(plan.status);
    return ProgramPlan(plan, true);
}

bool WritePackedFile(const std::string& path) {
    const std::optional<FirmwarePlan> plan = LoadPackedImage(path);
    return plan.has_value() && ProgramPlan(*plan, true);
}

std::optional<FirmwarePlan> LoadPackedImage(const std::string& path) {
    AddInfo(("LoadFile:" + path).c_str());
    FirmwarePlan plan = rtd::image::PlanPackedFirmware(path);
    if (!plan.Ready()) {
        Refuse(plan.status);
        return std::nullopt;
    }
    return plan;
}

bool FindExtendFile(const std::string& path, std::string& extendPath) {
    return rtd::image::FindExtendFile(path, extendPath, IsRegularFile);
}

bool ProgramBankFromFile(const std::string& path, int bank, bool eraseFirst, bool exitAfter) {
    std::vector<uint8_t> window(rtd::image::kBankSize);
    const PlanStatus status = rtd::image::LoadBankWindow(path, window.data());
    if (status != PlanStatus::Ready)
        return Refuse(status);
    return ProgramBank(window.data(), bank, eraseFirst, exitAfter);
}

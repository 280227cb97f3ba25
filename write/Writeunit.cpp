#include "Writeunit.h"

#include <vector>

#include "Commands.h"
#include "Ispunit.h"
#include "Platform.h"

namespace {

using rtd::image::BankProgram;
using rtd::image::FirmwarePlan;
using rtd::image::PlanStatus;

bool IsRegularFile(const std::string& path) {
    return rtd::CurrentPlatform().IsRegularFile(path);
}

bool AutoFireSecond() {
    return IspUnit != nullptr && IspUnit->AutoFireSecond;
}

// The plan's lines before any bank: "LoadFile:" + path for a packed file, then the refusal
// of a file that did not load. True when the plan can be programmed.
bool Announce(const FirmwarePlan& plan) {
    const std::string loadLine = plan.LoadLine();
    if (!loadLine.empty())
        AddInfo(loadLine.c_str());
    if (plan.Ready())
        return true;
    AddInfo(plan.RefusalLine());
    return false;
}

// The plan's bank calls in order; a failed bank ends the write.
bool ProgramBanks(const FirmwarePlan& plan) {
    for (const BankProgram& bank : plan.Banks()) {
        if (bank.announce)
            AddInfo(bank.announce);
        if (!ProgramBank(bank.window, bank.bank, bank.eraseFirst, bank.exitAfter))
            return false;
    }
    return true;
}

bool Program(const FirmwarePlan& plan) {
    return Announce(plan) && ProgramBanks(plan);
}

} // namespace

bool WriteFirmware(const std::string& path) {
    ClearInfo();
    AddInfo("Begin...");
    return Program(rtd::image::PlanFirmware(path, AutoFireSecond(), IsRegularFile));
}

bool WriteHexFile(const std::string& path) {
    return Program(rtd::image::PlanHexFirmware(path, AutoFireSecond(), IsRegularFile));
}

bool WriteBinFile(const std::string& path) {
    return Program(rtd::image::PlanRawFirmware(path));
}

bool WritePackedFile(const std::string& path) {
    const std::optional<FirmwarePlan> plan = LoadPackedImage(path);
    return plan.has_value() && ProgramBanks(*plan);
}

std::optional<FirmwarePlan> LoadPackedImage(const std::string& path) {
    FirmwarePlan plan = rtd::image::PlanPackedFirmware(path);
    if (!Announce(plan))
        return std::nullopt;
    return plan;
}

bool FindExtendFile(const std::string& path, std::string& extendPath) {
    return rtd::image::FindExtendFile(path, extendPath, IsRegularFile);
}

bool ProgramBankFromFile(const std::string& path, int bank, bool eraseFirst, bool exitAfter) {
    std::vector<uint8_t> window(rtd::image::kBankSize);
    const PlanStatus status = rtd::image::LoadBankWindow(path, window.data());
    if (status != PlanStatus::Ready) {
        AddInfo(rtd::image::RefusalLine(status));
        return false;
    }
    return ProgramBank(window.data(), bank, eraseFirst, exitAfter);
}

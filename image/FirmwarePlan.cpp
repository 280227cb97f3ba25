#include "FirmwarePlan.h"

#include <algorithm>
#include <utility>

#include "FailureLines.h"
#include "Hextobin.h"
#include "Kvfunit.h"
#include "PathParts.h"

namespace rtd::image {
namespace {

PlanStatus StatusOf(TImageLoad load) {
    switch (load) {
    case TImageLoad::Loaded:
        return PlanStatus::Ready;
    case TImageLoad::OpenFailed:
        return PlanStatus::OpenError;
    case TImageLoad::RecordFailed:
        break;
    }
    return PlanStatus::FormatError;
}

FirmwarePlan Started(FirmwareFlow flow, const std::string& path) {
    FirmwarePlan plan;
    plan.flow = flow;
    plan.path = path;
    return plan;
}

FirmwarePlan Refused(FirmwarePlan plan, PlanStatus status, const std::string& path) {
    plan.status = status;
    plan.failedPath = path;
    plan.image.clear();
    plan.programBank1 = false;
    return plan;
}

// Raw and packed images program bank 1 only when its window holds data.
FirmwarePlan WholeImageReady(FirmwarePlan plan) {
    plan.status = PlanStatus::Ready;
    plan.programBank1 = plan.UsedLength() > kBankSize;
    return plan;
}

} // namespace

BankProgram MeasureBank(int bank, const uint8_t* window) {
    BankProgram b;
    b.bank = bank;
    b.window = window;
    b.writtenLength = WrittenLength(window);
    b.pagesSent = PagesSent(window, b.writtenLength);
    b.crcLength = CrcLength(b.writtenLength);
    b.crcEnd = CrcEnd(b.writtenLength);
    return b;
}

uint32_t FirmwarePlan::UsedLength() const {
    return TrimmedLength(image.data(), image.size());
}

uint32_t FirmwarePlan::WrittenLength(int bank) const {
    return image.empty() ? 0 : rtd::image::WrittenLength(Bank(bank));
}

std::vector<BankProgram> FirmwarePlan::Banks() const {
    if (!Ready())
        return {};
    // Only the raw and packed flows name the banks they fire.
    const bool announce = flow != FirmwareFlow::Hex;
    std::vector<BankProgram> banks;
    banks.push_back(MeasureBank(0, Bank(0)));
    banks.back().eraseFirst = true;
    banks.back().exitAfter = !programBank1;
    banks.back().announce = announce ? "Fire Bank0..." : nullptr;
    if (programBank1) {
        banks.push_back(MeasureBank(1, Bank(1)));
        banks.back().exitAfter = true;
        banks.back().announce = announce ? "Fire Bank1..." : nullptr;
    }
    return banks;
}

std::string FirmwarePlan::LoadLine() const {
    return flow == FirmwareFlow::Packed ? "LoadFile:" + path : std::string();
}

const char* RefusalLine(PlanStatus status) {
    switch (status) {
    case PlanStatus::Ready:
        return nullptr;
    case PlanStatus::OpenError:
        return kFileOpenErrorLine;
    case PlanStatus::FormatError:
        break;
    }
    return kFileFormatErrorLine;
}

FirmwareFlow FlowForPath(const std::string& path) {
    const std::string extension = LowerAscii(PathExtension(path));
    if (extension == ".hex" || extension == ".h00")
        return FirmwareFlow::Hex;
    if (extension == ".bin")
        return FirmwareFlow::Raw;
    return FirmwareFlow::Packed;
}

PlanStatus LoadBankWindow(const std::string& path, uint8_t* window, std::string* failedRecord) {
    std::fill(window, window + kBankSize, kErased);
    uint32_t count = 0;
    return StatusOf(LoadImageFile(path, window, count, kBankSize, failedRecord));
}

FirmwarePlan PlanHexFirmware(const std::string& path, bool autoFireSecond,
                             const FileExists& exists) {
    FirmwarePlan plan = Started(FirmwareFlow::Hex, path);
    plan.image.assign(kWholeImageSize, kErased);
    PlanStatus status = LoadBankWindow(path, plan.image.data(), &plan.failedRecord);
    if (status != PlanStatus::Ready)
        return Refused(std::move(plan), status, path);
    // Both files load before anything is programmed: a bad extend file must not be found
    // only after bank 0 was erased and written.
    if (autoFireSecond && FindExtendFile(path, plan.extendPath, exists)) {
        status = LoadBankWindow(plan.extendPath, plan.image.data() + kBankSize, &plan.failedRecord);
        if (status != PlanStatus::Ready) {
            const std::string failed = plan.extendPath;
            return Refused(std::move(plan), status, failed);
        }
        plan.programBank1 = true;
    }
    plan.status = PlanStatus::Ready;
    return plan;
}

FirmwarePlan PlanRawFirmware(const std::string& path) {
    FirmwarePlan plan = Started(FirmwareFlow::Raw, path);
    plan.image.assign(kWholeImageSize, kErased);
    uint32_t count = 0;
    const PlanStatus status =
        StatusOf(LoadImageFile(path, plan.image.data(), count, kWholeImageSize));
    if (status != PlanStatus::Ready)
        return Refused(std::move(plan), status, path);
    return WholeImageReady(std::move(plan));
}

FirmwarePlan PlanPackedFirmware(const std::string& path) {
    FirmwarePlan plan = Started(FirmwareFlow::Packed, path);
    plan.image.resize(kWholeImageSize);
    if (!LoadKvfFile(path, plan.image.data()))
        return Refused(std::move(plan), PlanStatus::FormatError, path);
    return WholeImageReady(std::move(plan));
}

FirmwarePlan PlanFirmware(const std::string& path, bool autoFireSecond, const FileExists& exists) {
    switch (FlowForPath(path)) {
    case FirmwareFlow::Hex:
        return PlanHexFirmware(path, autoFireSecond, exists);
    case FirmwareFlow::Raw:
        return PlanRawFirmware(path);
    case FirmwareFlow::Packed:
        break;
    }
    return PlanPackedFirmware(path);
}

} // namespace rtd::image

#include "ImageTools.h"

#include <cstdio>
#include <functional>
#include <sys/stat.h>

#include "AtomicFile.h"
#include "ExitStatus.h"
#include "FileCheck.h"
#include "Ispunit.h"
#include "Kvfpack.h"

namespace rtd::host {

namespace {

std::string Hex(uint32_t value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%0*X", digits, static_cast<unsigned>(value));
    return text;
}

const char* FlowName(image::FirmwareFlow flow) {
    switch (flow) {
    case image::FirmwareFlow::Hex:
        return "Intel HEX (one file per bank)";
    case image::FirmwareFlow::Raw:
        return "raw image";
    case image::FirmwareFlow::Packed:
        break;
    }
    return "packed firmware";
}

bool IsRegularFile(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// Loads the plan, or reports why not; false when refused.
bool LoadPlan(const std::string& path, bool autoFireSecond, image::FirmwarePlan* plan,
              std::ostream& err) {
    *plan = PlanFor(path, autoFireSecond);
    if (plan->Ready())
        return true;
    err << "isphost: " << RefusalReason(*plan) << '\n';
    return false;
}

// Loads the plan for `path` and writes the bytes `encode` makes of its whole image to
// `output`.
int PlanToFile(const std::string& path, const std::string& output, bool autoFireSecond, bool force,
               std::ostream& err,
               const std::function<std::vector<uint8_t>(const uint8_t*)>& encode) {
    if (IsSameFile(path, output)) {
        err << "isphost: " << output << " is the input file: give another output name\n";
        return kExitUsage;
    }
    const std::string refusal = force ? "" : CheckFirmwareFile(path);
    if (!refusal.empty()) {
        err << "isphost: " << refusal << '\n';
        return kExitUsage;
    }
    image::FirmwarePlan plan;
    if (!LoadPlan(path, autoFireSecond, &plan, err))
        return kExitFailed;
    const std::vector<uint8_t> bytes = encode(plan.image.data());
    std::string error;
    if (!WriteFileAtomically(output, bytes.data(), bytes.size(), &error)) {
        err << "isphost: " << error << '\n';
        return kExitFailed;
    }
    return kExitOk;
}

} // namespace

BankSummary SummarizeBank(const image::BankProgram& bank) {
    BankSummary s;
    s.writtenLength = bank.writtenLength;
    s.pagesSent = bank.pagesSent;
    s.crc = TIspUnit::Crc8(bank.window, static_cast<int>(bank.crcLength));
    return s;
}

BankSummary SummarizeBank(const uint8_t* window) {
    return SummarizeBank(image::MeasureBank(0, window));
}

image::FirmwarePlan PlanFor(const std::string& path, bool autoFireSecond) {
    return image::PlanFirmware(path, autoFireSecond, &IsRegularFile);
}

std::string RefusalReason(const image::FirmwarePlan& plan) {
    switch (plan.status) {
    case image::PlanStatus::Ready:
        return "accepted";
    case image::PlanStatus::OpenError:
        return "cannot open or read " + plan.failedPath;
    case image::PlanStatus::FormatError:
        break;
    }
    if (plan.flow == image::FirmwareFlow::Packed)
        return "not a packed firmware file: " + plan.failedPath;
    return "bad Intel HEX record in " + plan.failedPath +
           (plan.failedRecord.empty() ? "" : ", " + plan.failedRecord);
}

int ImageInfo(const std::string& path, bool autoFireSecond, bool force, std::ostream& out,
              std::ostream& err) {
    (void)err; // a refusal is part of the information, so it goes to `out`
    out << "File:        " << path << '\n';
    out << "Flow:        " << FlowName(image::FlowForPath(path)) << '\n';
    // What a write would refuse; under --force what the plug-in gets anyway.
    if (force) {
        const std::string problem = FirmwareFileProblem(path);
        if (!problem.empty())
            out << "Warning:     " << problem << '\n';
    } else {
        const std::string refusal = CheckFirmwareFile(path);
        if (!refusal.empty()) {
            out << "Refused:     " << refusal << '\n';
            return kExitUsage;
        }
    }
    const image::FirmwarePlan plan = PlanFor(path, autoFireSecond);
    if (!plan.Ready()) {
        out << "Refused:     " << RefusalReason(plan) << '\n';
        return kExitFailed;
    }
    if (plan.flow == image::FirmwareFlow::Hex) {
        out << "Extend file: "
            << (!autoFireSecond           ? std::string("not looked for (AutoFireSecond off)")
                : plan.extendPath.empty() ? std::string("none found")
                                          : plan.extendPath)
            << '\n';
    }
    const uint32_t used = plan.UsedLength();
    out << "Used length: " << used << " bytes (" << Hex(used, 5) << ")\n";
    out << "Banks:       " << (plan.programBank1 ? "0 and 1" : "0") << '\n';
    for (const image::BankProgram& bank : plan.Banks()) {
        const BankSummary s = SummarizeBank(bank);
        out << "Bank " << bank.bank << ":      " << s.writtenLength << " bytes written, "
            << s.pagesSent << " pages sent, CRC-8 " << Hex(s.crc, 2) << '\n';
    }
    return 0;
}

int ImageConvert(const std::string& path, const std::string& output, bool autoFireSecond,
                 bool force, std::ostream& err) {
    // A bank that is not programmed is all 0xFF in the plan, as the erase leaves it on the
    // chip, so the file equals the chip's flash after the write.
    return PlanToFile(path, output, autoFireSecond, force, err, [](const uint8_t* image) {
        return std::vector<uint8_t>(image, image + image::kWholeImageSize);
    });
}

int ImagePack(const std::string& path, const std::string& output, bool autoFireSecond, bool force,
              std::ostream& err) {
    return PlanToFile(path, output, autoFireSecond, force, err, &image::PackKvfFile);
}

} // namespace rtd::host

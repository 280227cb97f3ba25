// The image tools: what a write of a firmware file would program, found without a bus.
#ifndef RTD_HOST_SESSION_IMAGETOOLS_H
#define RTD_HOST_SESSION_IMAGETOOLS_H

#include <cstdint>
#include <ostream>
#include <string>

#include "FirmwarePlan.h"

namespace rtd::host {

// What programming one bank window sends and checks.
struct BankSummary {
    uint32_t writtenLength = 0; // the window less its trailing 0xFF bytes
    int pagesSent = 0;          // pages within that length holding a byte other than 0xFF
    uint8_t crc = 0;            // CRC-8 over the range the chip is asked for
};

BankSummary SummarizeBank(const image::BankProgram& bank);
BankSummary SummarizeBank(const uint8_t* window);

// The plan for `path`, with extend files looked for when `autoFireSecond` is set.
image::FirmwarePlan PlanFor(const std::string& path, bool autoFireSecond);

// One line saying why a plan was refused.
std::string RefusalReason(const image::FirmwarePlan& plan);

// Each returns the exit status: 0 done, 1 refused by the plan or not written, 2 refused by
// the host's file check (CheckFirmwareFile; with `force` only a warning) or an output that
// is the input. Reasons go to `err`. The output is written whole or not at all.
int ImageInfo(const std::string& path, bool autoFireSecond, bool force, std::ostream& out,
              std::ostream& err);
int ImageConvert(const std::string& path, const std::string& output, bool autoFireSecond,
                 bool force, std::ostream& err);
int ImagePack(const std::string& path, const std::string& output, bool autoFireSecond, bool force,
              std::ostream& err);

} // namespace rtd::host

#endif

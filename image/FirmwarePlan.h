// What a Write of a firmware file would program, decided without touching a bus: the
// flow the extension picks, the bank windows loaded from the file(s), whether bank 1 is
// programmed, or why the file is refused. The Write command and the host's image tools
// both build on this, so they cannot disagree.
#ifndef RTD_IMAGE_FIRMWAREPLAN_H
#define RTD_IMAGE_FIRMWAREPLAN_H

#include <cstdint>
#include <string>
#include <vector>

#include "Extendfile.h"

namespace rtd::image {

constexpr uint32_t kBankSize = 65536;

enum class FirmwareFlow {
    Hex,    // ".hex", ".h00": one file per bank, bank 1 from the extend file
    Raw,    // ".bin": one 128 KiB image
    Packed, // every other extension: one packed 128 KiB image
};

enum class PlanStatus {
    Ready,
    OpenError,   // a file to program could not be opened or read
    FormatError, // a HEX read stopped on a failed record, or a packed file did not load
};

struct FirmwarePlan {
    FirmwareFlow flow = FirmwareFlow::Packed;
    PlanStatus status = PlanStatus::FormatError;
    // The file that caused the refusal (main or extend file); empty when Ready.
    std::string failedPath;
    // 131,072 bytes when Ready: bank 0's window, then bank 1's; 0xFF holds no firmware.
    std::vector<uint8_t> image;
    bool programBank1 = false;
    // HEX flow: the extend file that bank 1 comes from, empty when none.
    std::string extendPath;

    bool Ready() const { return status == PlanStatus::Ready; }
    const uint8_t* Bank(int bank) const { return image.data() + (bank == 1 ? kBankSize : 0); }
    // Offset of the last byte other than 0xFF in the whole image, plus one.
    uint32_t UsedLength() const;
    // What programming the bank writes: its window less the trailing 0xFF bytes.
    uint32_t WrittenLength(int bank) const;
};

// Offset of the last byte of `data` other than 0xFF, plus one; 0 when all are 0xFF.
uint32_t UsedLength(const uint8_t* data, size_t size);

// The flow for a path, by its lower-cased extension.
FirmwareFlow FlowForPath(const std::string& path);

// Loads one bank window (65,536 bytes, 0xFF first) from a HEX or raw file, chosen by the
// file's own extension.
PlanStatus LoadBankWindow(const std::string& path, uint8_t* window);

FirmwarePlan PlanHexFirmware(const std::string& path, bool autoFireSecond,
                             const FileExists& exists);
FirmwarePlan PlanRawFirmware(const std::string& path);
FirmwarePlan PlanPackedFirmware(const std::string& path);
// Dispatches on FlowForPath(path).
FirmwarePlan PlanFirmware(const std::string& path, bool autoFireSecond, const FileExists& exists);

} // namespace rtd::image

#endif

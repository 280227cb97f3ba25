// What a Write of a firmware file would program, decided without touching a bus: the
// flow the extension picks, the bank windows loaded from the file(s), the bank calls in
// their order with what each writes and verifies, the lines the flow logs, or why the
// file is refused. The Write command, the host's image tools and any other host that
// shows or checks a write build on this, so they cannot disagree.
#ifndef RTD_IMAGE_FIRMWAREPLAN_H
#define RTD_IMAGE_FIRMWAREPLAN_H

#include <cstdint>
#include <string>
#include <vector>

#include "Extendfile.h"
#include "FlashGeometry.h"

namespace rtd::image {

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

// The line that refuses a file with this status ("File open error." or "File format
// error."); null for Ready.
const char* RefusalLine(PlanStatus status);

// One bank as a write programs it: the arguments of its bank call and what that call
// sends and checks.
struct BankProgram {
    int bank = 0;
    const uint8_t* window = nullptr; // 65,536 bytes inside the plan's image
    bool eraseFirst = false;         // enter ISP mode and erase the chip (both banks) first
    bool exitAfter = false;          // leave ISP mode after a verified write
    const char* announce = nullptr;  // the line logged before the call ("Fire Bank0..."), or null
    uint32_t writtenLength = 0;      // the window less its trailing 0xFF
    int pagesSent = 0;               // pages within that length holding a byte other than 0xFF
    uint32_t crcLength = 0;          // bytes the CRC-8 covers, from offset 0
    uint16_t crcEnd = 0;             // last address of the range the chip is asked for
};

// What programming a window sends and checks; the call's flags and line are left unset.
BankProgram MeasureBank(int bank, const uint8_t* window);

struct FirmwarePlan {
    FirmwareFlow flow = FirmwareFlow::Packed;
    PlanStatus status = PlanStatus::FormatError;
    // The firmware file the plan is for.
    std::string path;
    // The file that caused the refusal (main or extend file); empty when Ready.
    std::string failedPath;
    // A refused HEX file: the record's line and why ("line 3: checksum mismatch").
    std::string failedRecord;
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

    // The bank calls of the write, in order; none when refused. Bank 0 erases the chip and
    // stays in ISP mode when bank 1 follows; bank 1 is written without a second erase and
    // leaves ISP mode. The windows point into `image`.
    std::vector<BankProgram> Banks() const;
    // The line logged before the file is loaded: "LoadFile:" + path for a packed file,
    // empty for the other flows.
    std::string LoadLine() const;
    // The line that refuses the file; null when Ready.
    const char* RefusalLine() const { return rtd::image::RefusalLine(status); }
};

// The flow for a path, by its lower-cased extension.
FirmwareFlow FlowForPath(const std::string& path);

// Loads one bank window (65,536 bytes, 0xFF first) from a HEX or raw file, chosen by the
// file's own extension. `failedRecord` gets the line and reason of a refused HEX record.
PlanStatus LoadBankWindow(const std::string& path, uint8_t* window,
                          std::string* failedRecord = nullptr);

FirmwarePlan PlanHexFirmware(const std::string& path, bool autoFireSecond,
                             const FileExists& exists);
FirmwarePlan PlanRawFirmware(const std::string& path);
FirmwarePlan PlanPackedFirmware(const std::string& path);
// Dispatches on FlowForPath(path).
FirmwarePlan PlanFirmware(const std::string& path, bool autoFireSecond, const FileExists& exists);

} // namespace rtd::image

#endif

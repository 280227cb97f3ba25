#include "Commands.h"
#include "FailureLines.h"
#include "FlashGeometry.h"
#include "Ispunit.h"
#include "Sleep.h"

namespace {

using namespace rtd::image;

bool Fail(const char* line) {
    AddInfo(line);
    return false;
}

// Enter ISP mode and erase, twice: the second cycle runs on a freshly entered chip.
bool EnterAndErase(TIspUnit& isp) {
    if (!isp.EnterIsp())
        return Fail(kWriteEntryFailedLine);
    IspSleep(50);
    AddInfo("Erase...");
    if (!isp.EraseChip())
        return Fail(kEraseFailedLine);
    IspSleep(100);
    isp.ExitIsp();
    IspSleep(100);
    if (!isp.EnterIsp())
        return Fail(kWriteEntryFailedLine);
    IspSleep(50);
    if (!isp.EraseChip())
        return Fail(kEraseFailedLine);
    IspSleep(100);
    return true;
}

} // namespace

bool ProgramBank(const uint8_t* image, int bank, bool eraseFirst, bool exitAfter) {
    if (!IspUnit || !image)
        return false;
    TIspUnit& isp = *IspUnit;

    if (eraseFirst && !EnterAndErase(isp))
        return false;

    const uint32_t length = WrittenLength(image);
    AddInfo("Write...");
    const bool written = isp.WriteImage(image, static_cast<int>(length), bank);

    // The local CRC covers what the chip is asked for: an empty window asks for the
    // whole bank.
    const uint8_t localCrc = TIspUnit::Crc8(image, static_cast<int>(CrcLength(length)));
    IspSleep(20);
    // Anything but the local CRC: a result read that fails leaves this value.
    uint8_t chipCrc = static_cast<uint8_t>(~localCrc);
    if (!isp.ReadChipCrc(bank, 0, CrcEnd(length), chipCrc))
        return Fail(kCrcReadFailedLine);
    if (localCrc != chipCrc)
        return Fail(kCrcMismatchLine);
    IspSleep(50);
    if (!written)
        return Fail(kWriteFailedLine);

    if (exitAfter)
        isp.ExitIsp();
    return true;
}

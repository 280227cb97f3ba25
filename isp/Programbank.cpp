#include "Commands.h"
#include "FlashGeometry.h"
#include "Ispunit.h"
#include "Sleep.h"

namespace {

bool Fail(const char* line) {
    AddInfo(line);
    return false;
}

// Enter ISP mode and erase, twice: the second cycle runs on a freshly entered chip.
bool EnterAndErase(TIspUnit& isp) {
    if (!isp.EnterIsp())
        return Fail("Enter isp error!");
    IspSleep(50);
    AddInfo("Erase...");
    if (!isp.EraseChip())
        return Fail("Erase fail!");
    IspSleep(100);
    isp.ExitIsp();
    IspSleep(100);
    if (!isp.EnterIsp())
        return Fail("Enter isp error!");
    IspSleep(50);
    if (!isp.EraseChip())
        return Fail("Erase fail!");
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

    const uint32_t length = rtd::image::WrittenLength(image);
    AddInfo("Write...");
    const bool written = isp.WriteImage(image, static_cast<int>(length), bank);

    // The local CRC covers what the chip is asked for: an empty window asks for the
    // whole bank.
    const uint8_t localCrc = TIspUnit::Crc8(image, static_cast<int>(rtd::image::CrcLength(length)));
    IspSleep(20);
    // Anything but the local CRC: a result read that fails leaves this value.
    uint8_t chipCrc = static_cast<uint8_t>(~localCrc);
    if (!isp.ReadChipCrc(bank, 0, rtd::image::CrcEnd(length), chipCrc))
        return Fail("Read Crc fail!");
    if (localCrc != chipCrc)
        return Fail("Crc Error!");
    IspSleep(50);
    if (!written)
        return Fail("Write fail!");

    if (exitAfter)
        isp.ExitIsp();
    return true;
}

#include "Commands.h"
#include "Ispunit.h"
#include "Sleep.h"

namespace {

constexpr int kBankWindow = 65536;

// Length of the window without its trailing run of 0xFF bytes.
int TrimmedLength(const uint8_t* image) {
    int length = kBankWindow;
    while (length > 0 && image[length - 1] == 0xFF)
        --length;
    return length;
}

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

    const int length = TrimmedLength(image);
    AddInfo("Write...");
    const bool written = isp.WriteImage(image, length, bank);

    // An empty window still asks the chip for 0x0000-0xFFFF (end = length - 1 in 16 bits),
    // so the local CRC must cover the same whole window of 0xFF.
    const uint8_t localCrc = TIspUnit::Crc8(image, length == 0 ? kBankWindow : length);
    IspSleep(20);
    // Anything but the local CRC: a result read that fails leaves this value.
    uint8_t chipCrc = static_cast<uint8_t>(~localCrc);
    if (!isp.ReadChipCrc(bank, 0, length - 1, chipCrc))
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

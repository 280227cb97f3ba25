// Software model of the RTD2120's ISP port on the I2C bus, with fault injection.
#ifndef RTD_SIM_CHIPMODEL_H
#define RTD_SIM_CHIPMODEL_H

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "FlashGeometry.h"
#include "rtd2120/rtd2120.h"

namespace rtd::sim {

// Faults, as `--sim-fault` takes them (repeatable):
//   no-isp               the status never reads 0x40 after an entry
//   isp-after=N          entry succeeds from the N-th attempt on (counting from 1)
//   erase-busy=N         every erase stays busy for N status reads
//   page-busy=N[@K]      page programming stays busy for N reads (every page, or page K)
//   crc-range-busy=N     the CRC range stays busy (0x08) for N reads
//   crc-busy=N           the CRC engine stays busy for N reads
//   stuck=B:ADDR         the flash byte at ADDR (hex) of bank B cannot be programmed
//   read-fail            every read fails and leaves the buffer untouched
//   drop-writes          every write is ignored
//   power-cut@K          the power goes before transfer K (counting from 0): see PowerCycle
struct Counters {
    int ispEntries = 0;      // successful entries into ISP mode
    int entryAttempts = 0;   // 36 00 writes
    int ispExits = 0;        // 90 00 writes while in ISP mode
    int erases = 0;          // erases started
    int pagesProgrammed = 0; // page writes accepted
    int crcComputations = 0; // A2 80 writes
    int writes = 0;          // bus write calls
    int reads = 0;           // bus read calls
};

// The chip as seen from the bus: register port 0x94 (write) / 0x95 (read) and address
// port 0x96. Writes to other addresses, and reads from any address but 0x95, are not
// acknowledged (false, buffer untouched). Busy periods last 0 extra status reads unless a
// fault adds some, so a healthy chip answers each poll at once. With a clock set they
// also last the k*Ms times below on that clock; faults still add reads on top.
class ChipModel : public TIicInterface {
public:
    // The flash (image/FlashGeometry.h): two banks, programmed a page at a time, erased to
    // 0xFF. Programming (NOR flash) can only clear bits: data written over unerased bytes
    // leaves the AND of old and new.
    static constexpr int kBankSize = rtd::image::kBankSize;
    static constexpr int kPageSize = rtd::image::kPageSize;
    static constexpr uint8_t kErased = rtd::image::kErased;
    static constexpr uint8_t Programmed(uint8_t old, uint8_t data) { return old & data; }
    static constexpr int kFlashFileSize = rtd::image::kWholeImageSize;
    // Busy times on a clock. The host polls the CRC engine with no wait between reads,
    // so that one has no time of its own.
    static constexpr unsigned kEraseMs = 30;
    static constexpr unsigned kPageMs = 1;
    static constexpr unsigned kCrcRangeMs = 5;
    static constexpr unsigned kCrcMs = 0;

    ChipModel(); // blank chip (all 0xFF), not in ISP mode, no faults
    virtual ~ChipModel() = default;
    // One chip, one state: a copy would silently share the flash with the original.
    ChipModel(const ChipModel&) = delete;
    ChipModel& operator=(const ChipModel&) = delete;

    bool IicWrite(uint8_t address, int count, const uint8_t* data) override;
    bool IicRead(uint8_t address, int count, uint8_t* data) override;
    // Whether the chip acknowledges this address byte on the wire (0x94 and 0x96 for
    // writes, 0x95 for reads): always while it has power, whatever other faults are set.
    bool Acknowledges(uint8_t address);

    // Adds one fault by its name (see above). False, with a one-line reason, when the
    // text is not a fault.
    bool AddFault(const std::string& fault, std::string* error = nullptr);
    // The chip is healthy from now on: busy periods faults drew out end (their time on the
    // clock still runs). A chip whose power is off stays off until PowerCycle.
    void ClearFaults();
    // The power goes off, if it has not already (power-cut@K), and comes back. Off, the
    // chip acknowledges nothing and a read gives 0xFF. An erase or page not yet reported
    // done by a status read is left half done: an erase only bank 0, a page its first
    // 128 bytes. Back on, the chip is out of ISP mode with every register cleared, the
    // flash as the cut left it; the power cut is spent, other faults stay.
    void PowerCycle();
    bool Powered() const;

    // By default busy times are counted in status reads. With a clock set, the default
    // busy times are in milliseconds of that clock instead; an empty function goes back
    // to counting reads only.
    void SetClock(std::function<uint64_t()> nowMs);

    bool InIsp() const;
    int SelectedBank() const;
    const Counters& Stats() const;

    // Flash contents, bank 0 or 1, 65,536 bytes each; another bank throws out_of_range.
    std::vector<uint8_t>& Flash(int bank);
    const std::vector<uint8_t>& Flash(int bank) const;
    // Loads or saves the two banks as one 131,072-byte file, bank 0 first. Loading a file
    // that does not exist leaves a blank chip and returns true; a file of another size is
    // refused with a reason.
    bool LoadFlash(const std::string& path, std::string* error = nullptr);
    bool SaveFlash(const std::string& path, std::string* error = nullptr) const;

    // The model's inner state; defined in sim/ChipState.h for the model's own files.
    struct State;

private:
    std::shared_ptr<State> state_;
};

} // namespace rtd::sim

#endif

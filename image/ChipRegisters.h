// The RTD2120's ISP port as the bus sees it: three bus addresses (8-bit, read/write bit
// included), the registers named on them, the values the ISP control register takes and
// the busy bits its status and the CRC engine read back. The engine sends these and the
// chip model answers them.
#ifndef RTD_IMAGE_CHIPREGISTERS_H
#define RTD_IMAGE_CHIPREGISTERS_H

#include <cstdint>

namespace rtd::image {

// Bus addresses.
constexpr uint8_t kRegisterWrite = 0x94; // a register number, then its value (or a page)
constexpr uint8_t kRegisterRead = 0x95;  // the value of the register named last
constexpr uint8_t kAddressPort = 0x96;   // an address register, then 16 bits, high byte first

// Registers named on kRegisterWrite.
constexpr uint8_t kIspControl = 0x90; // write: mode, bank, erase; read: the ISP status
constexpr uint8_t kEntry = 0x36;      // kEnterIsp here enters ISP mode
constexpr uint8_t kPageData = 0x94;   // followed by one whole page
constexpr uint8_t kCrcControl = 0xA2; // write: kStartCrc; read: kCrcBusy while it computes
constexpr uint8_t kCrcResult = 0xA3;

// Registers of the address port.
constexpr uint8_t kFlashAddress = 0x92; // page start, CRC range start
constexpr uint8_t kCrcEnd = 0xA0;       // CRC range end, inclusive

// Written to kEntry while the ISP control holds kIspBank0.
constexpr uint8_t kEnterIsp = 0x00;

// Values of kIspControl. In ISP mode its status reads the selected bank's value, with the
// busy bits below set while the work they stand for runs.
constexpr uint8_t kIspBank0 = 0x40;
constexpr uint8_t kIspBank1 = 0x60;
constexpr uint8_t kStartErase = 0xC0;
constexpr uint8_t kLeaveIsp = 0x00;
constexpr uint8_t kEraseBusy = 0x80;
constexpr uint8_t kPageBusy = 0x10;
constexpr uint8_t kCrcRangeBusy = 0x08;

// Values of kCrcControl.
constexpr uint8_t kStartCrc = 0x80;
constexpr uint8_t kCrcBusy = 0x80;

} // namespace rtd::image

#endif

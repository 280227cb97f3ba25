// Which FTDI adapter `--bus ftdi[:DESC]` names. DESC is one of
//   (none)           the first MPSSE device, interface A
//   N                the N-th MPSSE device (counting from 0), interface A
//   SERIAL           the device with this serial number, interface A
//   A..D             interface A..D of the first device
//   N:I, SERIAL:I    interface I (A..D) of that device
//   model[:CHIP]     no device: the encoder and the protocol model, CHIP ft232h (the
//                    default), ft2232h or ft4232h
#ifndef RTD_HOST_ADAPTERS_FTDI_FTDISELECTION_H
#define RTD_HOST_ADAPTERS_FTDI_FTDISELECTION_H

#include <string>
#include <vector>

#include "MpsseEncoder.h"

namespace rtd::host::ftdi {

struct FtdiSelection {
    bool model = false;
    FtdiChip modelChip = FtdiChip::Ft232h;
    int index = 0;      // used when serial is empty
    std::string serial; // matched exactly
    int channel = 0;    // 0 = A, 1 = B, ...
    char InterfaceLetter() const { return static_cast<char>('A' + channel); }
};

// False, with a one-line reason, when DESC is none of the forms above.
bool ParseFtdiSelection(const std::string& desc, FtdiSelection* out, std::string* error);

// One attached chip with an MPSSE, as the system lists it.
struct FtdiDevice {
    FtdiChip chip = FtdiChip::Ft232h;
    std::string serial;
    std::string description;
};

// The position in `devices` of the device `selection` names, or -1 with a one-line
// reason (none attached, no such index or serial, no MPSSE on that interface).
int FindFtdiDevice(const std::vector<FtdiDevice>& devices, const FtdiSelection& selection,
                   std::string* error);

// The --bus text of interface `channel` of device `index`: "ftdi:0:A".
std::string FtdiBusName(int index, int channel);

} // namespace rtd::host::ftdi

#endif

// --bus ftdi[:DESC]: an FTDI FT232H, FT2232H or FT4232H through its MPSSE, over libftdi1
// on Linux and FTDI's ftd2xx.dll on Windows; ftdi:model[:CHIP] runs the same encoder
// against the MPSSE protocol model and the chip model (DESC: host/adapters/ftdi/FtdiSelection.h).
#ifndef RTD_HOST_ADAPTERS_FTDI_FTDIBUS_H
#define RTD_HOST_ADAPTERS_FTDI_FTDIBUS_H

#include <memory>
#include <string>
#include <vector>

#include "BusKind.h"
#include "ByteLink.h"
#include "FtdiSelection.h"

namespace rtd::host::ftdi {

// The FTDI MPSSE's row of the bus table; its list holds each MPSSE interface of each
// attached chip, probed at 0x4A.
const BusKind& FtdiBusKind();

// The transport of this build (LibFtdiLink.cpp, D2xxLink.cpp or FtdiNone.cpp): the link to
// the interface `selection` names, or null with a one-line reason; the attached chips.
std::unique_ptr<ByteLink> OpenFtdiLink(const FtdiSelection& selection, FtdiChip* chip,
                                       std::string* name, std::string* error);
std::vector<FtdiDevice> ListFtdiDevices(std::string* note);

} // namespace rtd::host::ftdi

#endif

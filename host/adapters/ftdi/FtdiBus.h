// --bus ftdi[:DESC]: an FTDI FT232H, FT2232H or FT4232H through its MPSSE, over libftdi1
// on Linux and FTDI's ftd2xx.dll on Windows; ftdi:model[:CHIP] runs the same encoder
// against the MPSSE protocol model and the chip model (DESC: host/adapters/ftdi/FtdiSelection.h).
#ifndef RTD_HOST_ADAPTERS_FTDI_FTDIBUS_H
#define RTD_HOST_ADAPTERS_FTDI_FTDIBUS_H

#include <memory>
#include <string>
#include <vector>

#include "bus/BusTable.h"

namespace rtd::host::ftdi {

bool MatchesFtdiBus(const std::string& bus);
bool CheckFtdiBus(const std::string& bus, std::string* error);
std::unique_ptr<HostBus> OpenFtdiBus(const BusSetup& setup, std::string* error);
// Each MPSSE interface of each attached chip, probed at 0x4A.
std::vector<BusListing> ListFtdiBuses(std::string* note);

} // namespace rtd::host::ftdi

#endif

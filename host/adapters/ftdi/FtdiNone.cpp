// A build without an FTDI transport (no libftdi1 at configure time): only the model.
#include "FtdiBus.h"

namespace rtd::host::ftdi {

std::unique_ptr<ByteLink> OpenFtdiLink(const FtdiSelection&, FtdiChip*, std::string*,
                                       std::string* error) {
    *error = "this isphost was built without libftdi1: install libftdi1-dev and rebuild "
             "(or use --bus ftdi:model for a dry run)";
    return nullptr;
}

std::vector<FtdiDevice> ListFtdiDevices(std::string* note) {
    *note = "none: this isphost was built without libftdi1 (install libftdi1-dev and rebuild)";
    return {};
}

} // namespace rtd::host::ftdi

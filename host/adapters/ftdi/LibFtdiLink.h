// The Linux transport of the FTDI adapters: libftdi1 on the chip's MPSSE interface.
// Thin on purpose: it finds and opens the device, puts the interface in MPSSE mode and
// moves bytes; everything I2C is the encoder's.
#ifndef RTD_HOST_ADAPTERS_FTDI_LIBFTDILINK_H
#define RTD_HOST_ADAPTERS_FTDI_LIBFTDILINK_H

#include <memory>
#include <string>
#include <vector>

#include "ByteLink.h"
#include "FtdiSelection.h"

struct ftdi_context;

namespace rtd::host::ftdi {

class LibFtdiLink : public ByteLink {
public:
    // The device `selection` names, in MPSSE mode; null with a one-line reason when it
    // is not attached or cannot be opened (permissions, kernel driver, libusb).
    static std::unique_ptr<LibFtdiLink> Open(const FtdiSelection& selection, FtdiChip* chip,
                                             std::string* name, std::string* error);
    ~LibFtdiLink() override;

    bool Send(const std::vector<uint8_t>& data, std::string* error) override;
    bool Receive(size_t size, std::vector<uint8_t>* data, std::string* error) override;

private:
    explicit LibFtdiLink(ftdi_context* context) : context_(context) {}
    ftdi_context* context_;
};

// The attached FT232H, FT2232H and FT4232H chips, in the order ftdi:N counts them. An
// empty list with `note` set when libusb cannot look.
} // namespace rtd::host::ftdi

#endif

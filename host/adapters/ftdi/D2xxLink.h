// The Windows transport of the FTDI adapters: FTDI's D2XX driver, ftd2xx.dll, loaded at
// run time (never shipped or linked). It finds and opens the interface, puts it in MPSSE
// mode and moves bytes; everything I2C is the encoder's.
#ifndef RTD_HOST_ADAPTERS_FTDI_D2XXLINK_H
#define RTD_HOST_ADAPTERS_FTDI_D2XXLINK_H

#include <memory>
#include <string>
#include <vector>

#include "ByteLink.h"
#include "D2xx.h"
#include "FtdiSelection.h"

namespace rtd::host::ftdi {

struct D2xxApi;

class D2xxLink : public ByteLink {
public:
    // The interface `selection` names, in MPSSE mode; null with a one-line reason when
    // the DLL is missing (what to install), or the device is not there or cannot be opened.
    static std::unique_ptr<D2xxLink> Open(const FtdiSelection& selection, FtdiChip* chip,
                                          std::string* name, std::string* error);
    ~D2xxLink() override;

    bool Send(const std::vector<uint8_t>& data, std::string* error) override;
    bool Receive(size_t size, std::vector<uint8_t>* data, std::string* error) override;

private:
    D2xxLink(std::shared_ptr<const D2xxApi> api, d2xx::Handle handle)
        : api_(std::move(api)), handle_(handle) {}

    std::shared_ptr<const D2xxApi> api_;
    d2xx::Handle handle_;
};

// The attached FT232H, FT2232H and FT4232H chips as the driver lists them, in the order
// ftdi:N counts them; empty with `note` set when the DLL is missing.
} // namespace rtd::host::ftdi

#endif

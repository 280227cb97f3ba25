// One I2C master as the host's buses use it: whole transactions, nothing smaller.
//
// How an adapter plugs in: implement I2cAdapter (usually an encoder that turns one
// transaction into the adapter's bytes, plus a thin transport that moves them), wrap it
// in an AdapterBus (host/bus/AdapterBus.h), which counts failures and keeps a failed
// read from touching the plug-in's buffer, and add one row to the bus table in
// host/session/BusTable.cpp. A dry-run model of the adapter is a ByteLink
// (host/bus/ByteLink.h) that decodes the encoder's bytes into an I2cWireModel.
#ifndef RTD_HOST_BUS_I2CADAPTER_H
#define RTD_HOST_BUS_I2CADAPTER_H

#include <cstdint>
#include <string>
#include <vector>

#include "UsbCounts.h"

namespace rtd::host {

// What an adapter can carry; the pre-flight checks compare this with what a command needs.
struct AdapterCapabilities {
    std::string name;             // as messages name the adapter: "ch341:0", "/dev/i2c-3"
    int maxWrite = 0;             // longest write in one transaction, bytes after the address
    int maxRead = 0;              // longest read in one transaction
    bool plainI2c = false;        // START, address, data, STOP of any length (not SMBus only)
    bool seesAcknowledge = false; // a byte the chip does not acknowledge fails the transfer
    std::vector<int> speedsKhz;   // bus clocks that can be chosen; empty: set by the system
};

// The reason an adapter gives for a byte the chip did not acknowledge: byte 0 is the
// address, 1 the first data byte.
inline std::string NotAcknowledged(size_t byte) {
    return byte == 0 ? "address not acknowledged"
                     : "not acknowledged at data byte " + std::to_string(byte);
}

class I2cAdapter {
public:
    virtual ~I2cAdapter() = default;

    virtual AdapterCapabilities Capabilities() const = 0;
    // START, `address` (the 8-bit address byte, bit 0 clear), `count` bytes from `data`,
    // STOP: one transaction, finished when the call returns. False, with a short reason
    // ("not acknowledged at byte 3", "USB transfer failed: ..."), when it did not complete.
    virtual bool Write(uint8_t address, const uint8_t* data, int count, std::string* error) = 0;
    // START, `address` (bit 0 set), `count` bytes into `data`, STOP. `data` may be
    // scribbled on even when the read fails; AdapterBus hands the plug-in only reads
    // that succeeded.
    virtual bool Read(uint8_t address, uint8_t* data, int count, std::string* error) = 0;
    // Whether the adapter carries a write of `count` bytes as one transaction, found out
    // without any device acting on it. The default trusts Capabilities(); an adapter whose
    // limit only the system knows (i2c-dev) asks the system.
    virtual bool TakesWrite(int count) { return count <= Capabilities().maxWrite; }
    // What a USB adapter's link has carried so far; null for an adapter not on USB.
    virtual const UsbCounts* Usb() const { return nullptr; }
    // Why a USB adapter's transfers cannot be counted (a maker's DLL makes them out of
    // sight); empty for every other adapter.
    virtual std::string UsbUncounted() const { return std::string(); }
};

} // namespace rtd::host

#endif

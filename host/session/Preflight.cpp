#include "Preflight.h"

#include "HostBus.h"

namespace rtd::host {

namespace {

// The page write: the register number and one 256-byte page.
constexpr int kPageWrite = 257;
constexpr uint8_t kAddressPort = 0x96;

std::string NoDevice(const char* address, const std::string& detail = "") {
    return std::string("no device answers at ") + address + detail +
           ": check SDA/SCL/GND and power";
}

} // namespace

int LongestWrite(I2cAdapter& adapter, int ceiling) {
    // What is taken stays taken for shorter writes: halve the range between the two.
    int taken = 0, refused = ceiling + 1;
    while (refused - taken > 1) {
        const int middle = taken + (refused - taken) / 2;
        (adapter.TakesWrite(middle) ? taken : refused) = middle;
    }
    return taken;
}

PreflightResult RunPreflight(I2cAdapter& adapter) {
    PreflightResult r;
    const AdapterCapabilities caps = adapter.Capabilities();
    if (!caps.plainI2c) {
        r.refusal = caps.name +
                    " offers SMBus transfers only, no plain I2C: use an adapter that does "
                    "(isphost buses lists them; a CH341A: --bus ch341)";
        return r;
    }
    r.found.push_back("plain I2C transfers: yes");

    const ProbeResult probe = ProbeChip(adapter);
    if (probe.answer == ProbeResult::Answer::No ||
        (probe.answer == ProbeResult::Answer::Unknown && probe.status == 0xFF)) {
        r.refusal = probe.answer == ProbeResult::Answer::No
                        ? NoDevice("0x4A")
                        : NoDevice("0x4A", " (status reads FF, and the adapter does not report "
                                           "acknowledge bits)");
        return r;
    }
    r.found.push_back(probe.Describe());

    if (!caps.seesAcknowledge) {
        r.found.push_back("0x4B not checked: the adapter does not report acknowledge bits");
    } else if (!adapter.TakesWrite(0)) {
        r.found.push_back("0x4B not checked: the adapter cannot send an address alone");
    } else {
        std::string reason;
        if (!adapter.Write(kAddressPort, nullptr, 0, &reason)) {
            // The wiring carried 0x4A's answer: what is missing is the ISP port.
            r.refusal = "no device answers at 0x4B, although 0x4A answered: the chip's ISP "
                        "port is not acknowledged; check that the board holds an RTD2120 and "
                        "that nothing keeps it in reset";
            return r;
        }
        r.found.push_back("chip answers at 0x4B");
    }

    if (!adapter.TakesWrite(kPageWrite)) {
        r.refusal = "adapter refuses 257-byte messages (limit " +
                    std::to_string(LongestWrite(adapter, kPageWrite - 1)) +
                    "): use an adapter that takes a page write in one message (a CH341A: "
                    "--bus ch341; an i2c-dev adapter without a message limit)";
        return r;
    }
    r.found.push_back("257-byte writes in one message: yes");
    return r;
}

} // namespace rtd::host

// How long the START and STOP pin states of an MPSSE I2C master are held, in pin writes.
//
// The MPSSE has no delay command: a pin state lasts as long as the engine takes to run
// the pin writes that repeat it. One write takes about 0.5 us (measured on an FT2232H by
// pyftdi, whose I2C master counts its holds the same way). I2C's minimums, by mode:
// standard (to 100 kHz) and fast (to 400 kHz).
#ifndef RTD_HOST_ADAPTERS_FTDI_I2CHOLDS_H
#define RTD_HOST_ADAPTERS_FTDI_I2CHOLDS_H

namespace rtd::host::ftdi {

constexpr int kPinWriteNs = 500;

// I2C's minimum times, in nanoseconds.
struct I2cMinimums {
    int startHold;  // t(HD;STA): SDA low with SCL high, before SCL falls
    int startSetup; // t(SU;STA): SCL high before a repeated START
    int stopSetup;  // t(SU;STO): SCL high before SDA rises for the STOP
    int busFree;    // t(BUF): the bus idle between a STOP and the next START
};

inline I2cMinimums MinimumsAt(int sclHz) {
    return sclHz <= 100000 ? I2cMinimums{4000, 4700, 4000, 4700} : I2cMinimums{600, 600, 600, 1300};
}

// Pin writes that hold a state for `ns` at least.
constexpr int HoldWrites(int ns) {
    return (ns + kPinWriteNs) / kPinWriteNs;
}

// The writes of each held state, for a bus clocked at sclHz.
struct I2cHolds {
    int startHold, startSetup, stopSetup, busFree;
};

inline I2cHolds HoldsAt(int sclHz) {
    const I2cMinimums m = MinimumsAt(sclHz);
    return {HoldWrites(m.startHold), HoldWrites(m.startSetup), HoldWrites(m.stopSetup),
            HoldWrites(m.busFree)};
}

} // namespace rtd::host::ftdi

#endif

// The checks made before a command that erases (write, erase) and by `isphost check`:
// the bus must carry what the plug-in will send, or the chip is left erased by a fault
// that shows only at the first page. Nothing sent changes the chip:
//   - plain I2C: the adapter's capabilities (i2c-dev: I2C_FUNCS has I2C_FUNC_I2C);
//   - 0x4A: register 0x90 named with a one-byte write to 0x94, one byte read from 0x95
//     (the probe of `isphost buses`);
//   - 0x4B: the address byte 0x96 alone, no data: no register is reached;
//   - a 257-byte write in one message: TakesWrite(257), which on i2c-dev sends the
//     write to the reserved address 0x7C (docs/HOST.md says why no device acts on it).
#ifndef RTD_HOST_SESSION_PREFLIGHT_H
#define RTD_HOST_SESSION_PREFLIGHT_H

#include <string>
#include <vector>

#include "I2cAdapter.h"

namespace rtd::host {

struct PreflightResult {
    // Empty when every check passed; else one line: what is wrong and the fix.
    std::string refusal;
    // What each check that ran found, for `isphost check`.
    std::vector<std::string> found;

    bool Passed() const { return refusal.empty(); }
};

PreflightResult RunPreflight(I2cAdapter& adapter);

// The longest write, 0 to `ceiling` bytes, the adapter takes in one message.
int LongestWrite(I2cAdapter& adapter, int ceiling);

} // namespace rtd::host

#endif

// The device commands that need no firmware file, and the bank programming sequence.
#ifndef RTD_ISP_COMMANDS_H
#define RTD_ISP_COMMANDS_H

#include <cstdint>

// Programs one bank from the 65,536-byte window at `image` and verifies it by CRC-8.
bool ProgramBank(const uint8_t* image, int bank, bool eraseFirst, bool exitAfter);

// The Erase, Reset and "Enter isp" commands, as the exports run them once the bus object
// has been checked.
bool EraseCommand();
bool ResetCommand();
bool EnterIspCommand();

#endif

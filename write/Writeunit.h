// The Write command: programs a firmware file (Intel HEX, raw image or packed) into one
// or both flash banks.
//
// Every file the command will program is loaded and checked before the first bus
// transfer: programming starts by erasing the chip, so a file that did not load must
// never get that far.
#ifndef RTD_WRITE_WRITEUNIT_H
#define RTD_WRITE_WRITEUNIT_H

#include <optional>
#include <string>

#include "FirmwarePlan.h"

// Clears the message list, logs "Begin..." and programs the file's plan: the flow its
// extension picks, with the plan's lines and bank calls.
bool WriteFirmware(const std::string& path);

// The three flows, each the plan of its kind programmed. HEX: bank 0 from the file, bank 1
// from its extend file when the engine's AutoFireSecond is set and one exists. Raw and
// packed: one 128 KiB image, bank 1 when its upper half holds data.
bool WriteHexFile(const std::string& path);
bool WriteBinFile(const std::string& path);
bool WritePackedFile(const std::string& path);

// The extend file beside a HEX main file (first existing regular file of the four names).
bool FindExtendFile(const std::string& path, std::string& extendPath);

// Loads one bank from a HEX or raw file and programs it; logs a line and returns false
// without touching the bus when the file does not load.
bool ProgramBankFromFile(const std::string& path, int bank, bool eraseFirst, bool exitAfter);

// Logs "LoadFile:" + path and decodes the packed file; on failure logs
// "File format error." and gives none.
std::optional<rtd::image::FirmwarePlan> LoadPackedImage(const std::string& path);

#endif

// The Write command: programs a firmware file (Intel HEX, raw image or packed) into one
// or both flash banks.
#ifndef RTD_IMAGE_WRITEUNIT_H
#define RTD_IMAGE_WRITEUNIT_H

#include <string>

// Clears the message list, logs "Begin..." and runs the flow the file's extension picks.
bool WriteFirmware(const std::string& path);

#endif

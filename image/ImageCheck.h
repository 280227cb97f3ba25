// What a host checks in a firmware file's bytes before it hands the file to a write: the
// loaders read what they can (a HEX read ends at the end of the text, a raw read at
// 131,072 bytes, an empty raw image programs an empty bank 0), so a file cut short or
// too long would program something else than its author meant. Each finding is one line
// saying what is wrong; the host adds what to do.
#ifndef RTD_IMAGE_IMAGECHECK_H
#define RTD_IMAGE_IMAGECHECK_H

#include <cstddef>
#include <cstdint>
#include <string>

#include "FirmwarePlan.h"

namespace rtd::image {

struct ImageCheck {
    // Empty when the bytes program what they say.
    std::string refusal;

    bool Passed() const { return refusal.empty(); }
};

// The whole file's bytes, read as the flow for its extension reads them.
ImageCheck CheckImageBytes(FirmwareFlow flow, const uint8_t* bytes, size_t size);

// Intel HEX: a record the reader refuses ("line 3: checksum mismatch"), or no end record.
ImageCheck CheckHexText(const uint8_t* text, size_t size);
// Packed: the header, and a body that decodes to the whole image.
ImageCheck CheckPackedBytes(const uint8_t* bytes, size_t size);

} // namespace rtd::image

#endif

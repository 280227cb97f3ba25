#include "ImageCheck.h"

#include <cstring>

#include "Hextobin.h"
#include "Kvfunit.h"
#include "Vlcunit.h"

namespace rtd::image {

namespace {

ImageCheck Refused(std::string reason) {
    ImageCheck check;
    check.refusal = std::move(reason);
    return check;
}

ImageCheck CheckRawSize(size_t size) {
    if (size > static_cast<size_t>(kWholeImageSize))
        return Refused("a raw image holds at most 131,072 bytes, this one " + std::to_string(size) +
                       ": only the first 131,072 would be written");
    return {};
}

} // namespace

ImageCheck CheckHexText(const uint8_t* text, size_t size) {
    THexToBin reader;
    reader.ReadHexText(text, size);
    if (!reader.ReadOk)
        return Refused("line " + std::to_string(reader.FailedLine) + ": " + reader.FailReason +
                       ": the read stops there");
    if (!reader.SawEnd)
        return Refused("no end-of-file record (:00000001FF) after line " +
                       std::to_string(reader.LastLine) + ": the file may be cut short");
    return {};
}

ImageCheck CheckPackedBytes(const uint8_t* bytes, size_t size) {
    if (size < static_cast<size_t>(kKvfHeaderSize))
        return Refused("not a packed firmware file: " + std::to_string(size) +
                       " bytes, shorter than the 256-byte header");
    if (std::memcmp(bytes, kKvfMagic, sizeof kKvfMagic) != 0)
        return Refused(
            std::string("not a packed firmware file: the header does not start with \"") +
            kKvfMagic + "\"");
    if (static_cast<int64_t>(size) > kKvfMaxFileSize)
        return Refused("packed file of " + std::to_string(size) + " bytes, over the 16 MiB limit");
    TVLCDecode decoder;
    const int32_t body = static_cast<int32_t>(size) - kKvfHeaderSize;
    decoder.SetInput(bytes + kKvfHeaderSize, body);
    int32_t count = 0;
    decoder.Decode(count, kWholeImageSize);
    if (count < kWholeImageSize)
        return Refused(std::string("packed file cut short: the header says \"") + kKvfMagic +
                       "\" (a whole 131,072-byte image), the body's " + std::to_string(body) +
                       " bytes decode to " + std::to_string(count));
    return {};
}

ImageCheck CheckImageBytes(FirmwareFlow flow, const uint8_t* bytes, size_t size) {
    if (size == 0)
        return Refused("the file is empty: a write would erase the chip and program nothing");
    switch (flow) {
    case FirmwareFlow::Hex:
        return CheckHexText(bytes, size);
    case FirmwareFlow::Raw:
        return CheckRawSize(size);
    case FirmwareFlow::Packed:
        break;
    }
    return CheckPackedBytes(bytes, size);
}

} // namespace rtd::image

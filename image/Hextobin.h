// Intel HEX reader for one 64 KiB flash bank, and the loader that picks between it and a
// plain read of a raw image by the file's extension.
//
// The dialect is narrow: data records with 16-bit addresses and the end record
// ":00000001FF" (hex digits in either case). Records that carry no data for the flash are
// skipped when they change nothing: a start address (type 03 or 05) and an extended
// address of zero (type 02 or 04). Any other record ends the read as a failure.
#ifndef RTD_IMAGE_HEXTOBIN_H
#define RTD_IMAGE_HEXTOBIN_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "FlashGeometry.h"

class THexToBin {
public:
    static constexpr int32_t kImageSize = rtd::image::kBankSize;

    // Largest (address + byte count) over every accepted record; only grows.
    int32_t HighestEnd = 0;
    // Outcome of the last read: false when the file could not be read or a record failed.
    bool ReadOk = false;
    // False when the last read could not open (or read) the file at all.
    bool Opened = false;
    // The image, indexed by record address; bytes no record wrote read 0x00.
    std::vector<uint8_t> Buffer;
    // The record that ended the last read as a failure: its line in the file (from 1; 0
    // when none failed) and why it was refused.
    int32_t FailedLine = 0;
    std::string FailReason;
    // The last read stopped at the end record, not at the end of the text: a file cut at a
    // line boundary reads well without it.
    bool SawEnd = false;
    // The line the last read stopped at (the end record's, or the last line read).
    int32_t LastLine = 0;

    THexToBin();

    // Reads the whole file; ReadOk, Opened, HighestEnd, Buffer and FailedLine/FailReason
    // tell the outcome.
    void ReadHexFile(const std::string& path);
    // The same read over text already in memory (Opened is then true).
    void ReadHexText(const uint8_t* text, size_t size);
    // Parses one record line and stores its data bytes as they are read, before the
    // checksum is known. True when the record was accepted; otherwise FailReason says why.
    bool ParseRecord(const char* line);

private:
    bool Refuse(std::string reason);
    // Reads one field of `line` into `value`, or refuses the record naming the field.
    bool Field(const char* line, size_t length, size_t first, size_t width, const char* name,
               int& value);
    // Reads lines from `next` (which fills a zeroed 256-byte buffer the way fgets does and
    // returns false at the end or on a read error) until the end record or a failure.
    template <typename NextLine> void ReadLines(NextLine next);
};

// What LoadImageFile found. The destination is filled as far as the file allowed in every
// case; only Loaded means the file was read completely and well.
enum class TImageLoad {
    Loaded,
    OpenFailed,   // the file could not be opened or read
    RecordFailed, // a HEX record failed (bad field, checksum, past 0xFFFF, unsupported type)
};

// Fills `destination` (capacity `limit` bytes) from the file at `path`: ".hex", ".h00" and
// ".h01" (any case) are read as Intel HEX, everything else as a raw image. `count` gets
// the number of image bytes the file supplied (never more than `limit`); bytes from
// `count` upward keep the caller's fill. `failure`, when given, is left empty, or on
// RecordFailed names the refused record's line and the reason ("line 3: checksum mismatch").
TImageLoad LoadImageFile(const std::string& path, uint8_t* destination, uint32_t& count,
                         uint32_t limit, std::string* failure = nullptr);

// The HEX branch of LoadImageFile over text already in memory.
TImageLoad LoadHexText(const uint8_t* text, size_t size, uint8_t* destination, uint32_t& count,
                       uint32_t limit, std::string* failure = nullptr);

#endif

#include "Hextobin.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <utility>

#include "PathParts.h"
#include "StdFile.h"

namespace {

constexpr int kLineBuffer = 256;
constexpr size_t kShortestRecord = 5;
constexpr char kEndRecord[] = ":00000001FF";

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

enum class FieldRead { Ok, LineEnds, NotHex };

// Converts the characters at 1-based positions [first, first + width) of the line, or
// fewer when the line ends first. At least one character is needed and every one must be
// a hex digit; anything else (space, sign, line end) fails the field.
FieldRead ReadField(const char* line, size_t lineLength, size_t first, size_t width, int& value) {
    if (first > lineLength)
        return FieldRead::LineEnds;
    const size_t available = std::min(width, lineLength - first + 1);
    value = 0;
    for (size_t i = 0; i < available; ++i) {
        const char c = line[first - 1 + i];
        const int digit = HexDigit(c);
        if (digit < 0)
            return c == '\r' || c == '\n' ? FieldRead::LineEnds : FieldRead::NotHex;
        value = value * 16 + digit;
    }
    return FieldRead::Ok;
}

// A line piece that filled the whole buffer without its newline was cut from a longer line.
bool IsCutPiece(const char* line, size_t length) {
    return length == kLineBuffer - 1 && line[length - 1] != '\n';
}

std::string Format(const char* format, unsigned a, unsigned b = 0) {
    char text[96];
    std::snprintf(text, sizeof text, format, a, b);
    return text;
}

// The records besides data that the reader takes, and the bytes each must hold.
struct OtherRecord {
    int type;
    int bytes;
    const char* name;
    bool addressOffset; // its value moves the data that follow, so only zero is taken
};
constexpr OtherRecord kOtherRecords[] = {
    {0x02, 2, "extended segment address", true},
    {0x03, 4, "start segment address", false},
    {0x04, 2, "extended linear address", true},
    {0x05, 4, "start linear address", false},
};

// The kind of a record other than data, or null with the reason it is not taken.
const OtherRecord* OtherKind(int type, int count, std::string& reason) {
    if (type == 0x01) {
        reason = "end record other than :00000001FF";
        return nullptr;
    }
    for (const OtherRecord& kind : kOtherRecords) {
        if (kind.type != type)
            continue;
        if (count == kind.bytes)
            return &kind;
        reason = std::string(kind.name) + Format(" record holds %u bytes, not %u",
                                                 static_cast<unsigned>(count),
                                                 static_cast<unsigned>(kind.bytes));
        return nullptr;
    }
    reason = Format("record type 0x%02X is not supported", static_cast<unsigned>(type));
    return nullptr;
}

bool IsEndRecord(const char* line) {
    for (size_t i = 0; i < sizeof kEndRecord - 1; ++i) {
        char c = line[i];
        if (c >= 'a' && c <= 'f')
            c = static_cast<char>(c - 'a' + 'A');
        if (c != kEndRecord[i])
            return false;
    }
    return true;
}

bool IsHexExtension(const std::string& lowerExtension) {
    return lowerExtension == ".hex" || lowerExtension == ".h00" || lowerExtension == ".h01";
}

// Copies what the reader holds below its highest end, never more than `limit` bytes.
TImageLoad CopyOut(const THexToBin& reader, uint8_t* destination, uint32_t& count, uint32_t limit,
                   std::string* failure) {
    count = std::min(static_cast<uint32_t>(std::max<int32_t>(reader.HighestEnd, 0)), limit);
    std::copy_n(reader.Buffer.data(), count, destination);
    if (!reader.Opened)
        return TImageLoad::OpenFailed;
    if (reader.ReadOk)
        return TImageLoad::Loaded;
    if (failure)
        *failure = "line " + std::to_string(reader.FailedLine) + ": " + reader.FailReason;
    return TImageLoad::RecordFailed;
}

// Reads at most `limit` bytes in one go; a file that opens but cannot be read (a folder)
// counts as unreadable, with nothing copied.
TImageLoad LoadRaw(const std::string& path, uint8_t* destination, uint32_t& count, uint32_t limit) {
    count = 0;
    const rtd::image::UniqueFile file = rtd::image::OpenForReading(path);
    if (!file)
        return TImageLoad::OpenFailed;
    std::vector<uint8_t> staging(limit);
    const size_t got = std::fread(staging.data(), 1, limit, file.get());
    if (std::ferror(file.get()))
        return TImageLoad::OpenFailed;
    count = static_cast<uint32_t>(got);
    std::copy_n(staging.data(), got, destination);
    return TImageLoad::Loaded;
}

} // namespace

THexToBin::THexToBin() : Buffer(kImageSize, 0x00) {}

template <typename NextLine> void THexToBin::ReadLines(NextLine next) {
    std::memset(Buffer.data(), 0x00, Buffer.size());
    SawEnd = false;
    LastLine = 0;
    char line[kLineBuffer];
    int32_t lineNumber = 1; // of the file, not of the pieces a long line is read in
    for (;;) {
        std::memset(line, 0, sizeof line);
        if (!next(line))
            break;
        const int32_t pieceLine = lineNumber;
        LastLine = pieceLine;
        // The buffer was zeroed, so a newline anywhere in it is the one the piece ends with.
        if (std::memchr(line, '\n', sizeof line - 1) != nullptr)
            ++lineNumber;
        if (std::strlen(line) < kShortestRecord)
            continue;
        if (IsEndRecord(line)) {
            SawEnd = true;
            break;
        }
        if (!ParseRecord(line)) {
            ReadOk = false;
            FailedLine = pieceLine;
            break;
        }
    }
}

void THexToBin::ReadHexFile(const std::string& path) {
    ReadOk = true;
    Opened = false;
    FailedLine = 0;
    FailReason.clear();
    const rtd::image::UniqueFile file = rtd::image::OpenForReading(path);
    if (!file) {
        ReadOk = false;
        return;
    }
    Opened = true;
    std::FILE* stream = file.get();
    ReadLines([&](char* line) {
        if (std::feof(stream))
            return false;
        // Without the error check a stream in error (a folder opened as a file) never
        // reaches end of file and the loop would spin forever.
        if (!std::fgets(line, kLineBuffer, stream)) {
            if (std::ferror(stream)) {
                ReadOk = false;
                Opened = false;
            }
            return false;
        }
        return true;
    });
}

void THexToBin::ReadHexText(const uint8_t* text, size_t size) {
    ReadOk = true;
    Opened = true;
    FailedLine = 0;
    FailReason.clear();
    size_t position = 0;
    ReadLines([&](char* line) {
        if (position >= size)
            return false;
        // A piece of at most 255 bytes, up to and including the first newline.
        size_t length = 0;
        while (length < kLineBuffer - 1 && position < size) {
            const char c = static_cast<char>(text[position++]);
            line[length++] = c;
            if (c == '\n')
                break;
        }
        return true;
    });
}

bool THexToBin::Refuse(std::string reason) {
    FailReason = std::move(reason);
    return false;
}

bool THexToBin::Field(const char* line, size_t length, size_t first, size_t width, const char* name,
                      int& value) {
    switch (ReadField(line, length, first, width, value)) {
    case FieldRead::Ok:
        return true;
    case FieldRead::LineEnds:
        return Refuse(IsCutPiece(line, length) ? "line longer than 255 characters"
                                               : std::string("line ends inside the ") + name);
    case FieldRead::NotHex:
        break;
    }
    return Refuse(std::string(name) + " is not hexadecimal");
}

bool THexToBin::ParseRecord(const char* line) {
    const size_t length = std::strlen(line);
    int n = 0, address = 0, type = 0;
    if (!Field(line, length, 2, 2, "byte count", n) ||
        !Field(line, length, 4, 4, "address", address) ||
        !Field(line, length, 8, 2, "record type", type))
        return false;
    const OtherRecord* other = nullptr;
    if (type != 0x00) {
        std::string reason;
        other = OtherKind(type, n, reason);
        if (!other)
            return Refuse(reason);
    } else if (address + n > kImageSize) {
        // Data that would run past the end of the bank cannot be placed: the record fails
        // before any of its bytes is stored.
        return Refuse(Format("%u bytes at 0x%04X run past 0xFFFF", static_cast<unsigned>(n),
                             static_cast<unsigned>(address)));
    }
    // The type byte is part of the sum; a data record's (00) adds nothing to it.
    uint8_t sum = static_cast<uint8_t>(n + (address >> 8) + (address & 0xFF) + type);
    uint32_t value = 0;
    for (int i = 0; i < n; ++i) {
        int data = 0;
        if (!Field(line, length, 10 + 2 * static_cast<size_t>(i), 2, "data", data))
            return false;
        // Data bytes are stored as they are read; the other records' bytes go nowhere.
        if (!other)
            Buffer[static_cast<size_t>(address + i)] = static_cast<uint8_t>(data);
        value = value << 8 | static_cast<uint32_t>(data);
        sum = static_cast<uint8_t>(sum + data);
    }
    int checksum = 0;
    if (!Field(line, length, 10 + 2 * static_cast<size_t>(n), 2, "checksum", checksum))
        return false;
    if (static_cast<uint8_t>(sum + checksum) != 0)
        return Refuse("checksum mismatch");
    if (other) {
        // A non-zero offset would place the data that follow elsewhere than their
        // addresses say.
        if (other->addressOffset && value != 0)
            return Refuse(std::string(other->name) + Format(" 0x%04X is not supported", value));
        return true;
    }
    HighestEnd = std::max(HighestEnd, static_cast<int32_t>(address + n));
    return true;
}

TImageLoad LoadImageFile(const std::string& path, uint8_t* destination, uint32_t& count,
                         uint32_t limit, std::string* failure) {
    if (failure)
        failure->clear();
    if (!IsHexExtension(rtd::image::LowerAscii(rtd::image::PathExtension(path))))
        return LoadRaw(path, destination, count, limit);
    THexToBin reader;
    reader.ReadHexFile(path);
    return CopyOut(reader, destination, count, limit, failure);
}

TImageLoad LoadHexText(const uint8_t* text, size_t size, uint8_t* destination, uint32_t& count,
                       uint32_t limit, std::string* failure) {
    if (failure)
        failure->clear();
    THexToBin reader;
    reader.ReadHexText(text, size);
    return CopyOut(reader, destination, count, limit, failure);
}

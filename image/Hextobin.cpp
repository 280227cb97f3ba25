#include "Hextobin.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

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

// Converts the characters at 1-based positions [first, first + width) of the line, or
// fewer when the line ends first. At least one character is needed and every one must be
// a hex digit; anything else (space, sign, line end) fails the field.
bool ReadField(const char* line, size_t lineLength, size_t first, size_t width, int& value) {
    if (first > lineLength)
        return false;
    const size_t available = std::min(width, lineLength - first + 1);
    value = 0;
    for (size_t i = 0; i < available; ++i) {
        const int digit = HexDigit(line[first - 1 + i]);
        if (digit < 0)
            return false;
        value = value * 16 + digit;
    }
    return true;
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
TImageLoad CopyOut(const THexToBin& reader, uint8_t* destination, uint32_t& count, uint32_t limit) {
    count = std::min(static_cast<uint32_t>(std::max<int32_t>(reader.HighestEnd, 0)), limit);
    std::copy_n(reader.Buffer.data(), count, destination);
    if (!reader.Opened)
        return TImageLoad::OpenFailed;
    return reader.ReadOk ? TImageLoad::Loaded : TImageLoad::RecordFailed;
}

TImageLoad LoadHex(const std::string& path, uint8_t* destination, uint32_t& count, uint32_t limit) {
    THexToBin reader;
    reader.ReadHexFile(path);
    return CopyOut(reader, destination, count, limit);
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
    char line[kLineBuffer];
    for (;;) {
        std::memset(line, 0, sizeof line);
        if (!next(line))
            break;
        if (std::strlen(line) < kShortestRecord)
            continue;
        if (IsEndRecord(line))
            break;
        if (!ParseRecord(line)) {
            ReadOk = false;
            break;
        }
    }
}

void THexToBin::ReadHexFile(const std::string& path) {
    ReadOk = true;
    Opened = false;
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

bool THexToBin::ParseRecord(const char* line) {
    const size_t length = std::strlen(line);
    uint8_t sum = 0;
    int n = 0;
    if (!ReadField(line, length, 2, 2, n))
        return false;
    sum = static_cast<uint8_t>(sum + n);
    int address = 0;
    if (!ReadField(line, length, 4, 4, address))
        return false;
    // Data that would run past the end of the bank cannot be placed: the record fails
    // before any of its bytes is stored.
    if (address + n > kImageSize)
        return false;
    sum = static_cast<uint8_t>(sum + (address >> 8) + (address & 0xFF));
    for (int i = 0; i < n; ++i) {
        int data = 0;
        if (!ReadField(line, length, 10 + 2 * static_cast<size_t>(i), 2, data))
            return false;
        Buffer[static_cast<size_t>(address + i)] = static_cast<uint8_t>(data);
        sum = static_cast<uint8_t>(sum + data);
    }
    int checksum = 0;
    if (!ReadField(line, length, 10 + 2 * static_cast<size_t>(n), 2, checksum))
        return false;
    sum = static_cast<uint8_t>(sum + checksum);
    if (sum != 0)
        return false;
    HighestEnd = std::max(HighestEnd, static_cast<int32_t>(address + n));
    return true;
}

TImageLoad LoadImageFile(const std::string& path, uint8_t* destination, uint32_t& count,
                         uint32_t limit) {
    if (IsHexExtension(rtd::image::LowerAscii(rtd::image::PathExtension(path))))
        return LoadHex(path, destination, count, limit);
    return LoadRaw(path, destination, count, limit);
}

TImageLoad LoadHexText(const uint8_t* text, size_t size, uint8_t* destination, uint32_t& count,
                       uint32_t limit) {
    THexToBin reader;
    reader.ReadHexText(text, size);
    return CopyOut(reader, destination, count, limit);
}

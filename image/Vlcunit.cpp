#include "Vlcunit.h"

#include "VlcLookup.h"

void TVLCDecode::SetInput(const uint8_t* body, int32_t length) {
    Body = body;
    Length = length;
}

bool TVLCDecode::ReadBit(const uint8_t* body) {
    if (Mask == 0) {
        ++Position;
        if (Position > Length)
            return false;
        CurrentByte = body[Position - 1];
        Mask = 0x80;
    }
    Bit = (CurrentByte & Mask) != 0 ? 1 : 0;
    Mask >>= 1;
    return true;
}

bool TVLCDecode::ReadBits(const uint8_t* body, int n, int& value) {
    value = 0;
    for (int i = 0; i < n; ++i) {
        if (!ReadBit(body))
            return false;
        value = value * 2 + Bit;
    }
    return true;
}

uint8_t TVLCDecode::DecodeNibble(const uint8_t* body) {
    // The run of leading zeros picks the code group; after the first 1, every further bit
    // counts too, so a code that starts with six or more zeros runs until the 8-bit
    // counter wraps to 0 and then stands for 0x0. The body running out ends the nibble
    // as 0x0 wherever it happens.
    static constexpr uint8_t kFourZeros[4] = {0x3, 0xB, 0xA, 0x5}; // 0000 1 0xx
    uint8_t zeros = 0;
    bool one = false;
    int v = 0;
    for (;;) {
        if (!ReadBit(body))
            return 0x0;
        if (Bit == 1 && !one)
            one = true;
        else
            ++zeros;
        if (!one || zeros > 5)
            continue;
        switch (zeros) {
        case 0:
            return 0x0;
        case 1:
            return !ReadBits(body, 1, v) ? 0x0 : v ? 0xF : 0x1;
        case 2:
            return !ReadBits(body, 1, v) ? 0x0 : v ? 0x8 : 0x2;
        case 3:
            return !ReadBits(body, 1, v) ? 0x0 : v ? 0x7 : 0xC;
        case 4:
            if (!ReadBits(body, 1, v))
                return 0x0;
            if (v == 1)
                return !ReadBits(body, 1, v) ? 0x0 : v ? 0x9 : 0x4;
            return !ReadBits(body, 2, v) ? 0x0 : kFourZeros[v];
        default: // five zeros
            if (!ReadBits(body, 1, v))
                return 0x0;
            if (v == 1)
                return !ReadBits(body, 1, v) ? 0x0 : v ? 0xD : 0xE;
            if (!ReadBits(body, 1, v))
                return 0x0;
            if (v == 1)
                return 0x6;
            // Filler: yields nothing; the next bit starts a new code.
            zeros = 0;
            one = false;
            break;
        }
    }
}

void TVLCDecode::SkipTo(int64_t bits) {
    if (bits == 0)
        return;
    Position = static_cast<int32_t>((bits + 7) / 8);
    const int last = static_cast<int>((bits - 1) % 8); // the last bit's place, 0 = 0x80
    CurrentByte = Body[Position - 1];
    Mask = (0x80 >> last) >> 1;
    Bit = (CurrentByte >> (7 - last)) & 1;
}

std::vector<uint8_t> TVLCDecode::Decode(int32_t& count, int32_t maxBytes) {
    Position = 0;
    Mask = 0;
    Bit = 0;
    CurrentByte = 0;
    // Table lookups decode the bulk; bit by bit from where they stop gives the same
    // bytes, and the same state, as bit by bit from the start.
    std::vector<uint8_t> out;
    const rtd::image::VlcStop stop = rtd::image::DecodeWholeCodes(Body, Length, maxBytes, out);
    SkipTo(stop.bit);
    if (stop.highPending)
        out.push_back(static_cast<uint8_t>(stop.high * 16 + DecodeNibble(Body)));
    while (Position <= Length) {
        if (maxBytes >= 0 && static_cast<int64_t>(out.size()) >= maxBytes)
            break;
        const uint8_t high = DecodeNibble(Body);
        const uint8_t low = DecodeNibble(Body);
        out.push_back(static_cast<uint8_t>(high * 16 + low));
    }
    count = static_cast<int32_t>(out.size());
    return out;
}

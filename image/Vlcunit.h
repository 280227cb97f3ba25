// Decoder of the packed firmware body: a bit stream (bytes in order, most significant bit
// first) of prefix codes of 1 to 8 bits, each one nibble, plus one filler code that
// yields nothing. Consecutive nibbles pair up into bytes, high nibble first.
#ifndef RTD_IMAGE_VLCUNIT_H
#define RTD_IMAGE_VLCUNIT_H

#include <cstdint>
#include <vector>

class TVLCDecode {
public:
    // Decode() without a limit decodes the whole body.
    static constexpr int32_t kNoLimit = -1;

    // Reading state, in this order. Decode resets all but Body and Length.
    int32_t Position;    // body bytes taken so far; a take past the end still counts
    int32_t Mask;        // next bit of CurrentByte to read; 0 when it is used up
    uint8_t Bit;         // the bit read last
    uint8_t CurrentByte; // the body byte being read
    const uint8_t* Body; // first body byte, not owned
    int32_t Length;      // body length in bytes

    void SetInput(const uint8_t* body, int32_t length);

    // Decodes the body from its first bit. The result always runs one byte or more past
    // the coded data: the byte during which the body ran out is kept, with 0x0 for each
    // nibble that met the end. With `maxBytes` >= 0, decoding stops as soon as that many
    // bytes exist (the caller needs no more). `count` receives the result's length.
    // Decodes several codes per table lookup; the result and the reading state left are
    // those of calling DecodeNibble over and over.
    std::vector<uint8_t> Decode(int32_t& count, int32_t maxBytes = kNoLimit);

    // The next value 0-15, skipping filler codes; 0x0 when the body runs out within it.
    uint8_t DecodeNibble(const uint8_t* body);

    // Reads the next bit into Bit, taking the next body byte when the current one is used
    // up. False (Bit untouched) when no bit is left; Position then exceeds Length.
    bool ReadBit(const uint8_t* body);

private:
    // Sets the reading state to what reading the first `bits` body bits one by one leaves.
    void SkipTo(int64_t bits);
    // Reads `n` bits, first one highest, into `value`; false when the body runs out.
    bool ReadBits(const uint8_t* body, int n, int& value);
};

#endif

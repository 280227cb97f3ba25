// The codes of the packed body: bits in reading order, right-aligned, first bit highest.
// The packer writes them; the decoder's lookup table is built from them.
#ifndef RTD_IMAGE_VLCCODES_H
#define RTD_IMAGE_VLCCODES_H

#include <cstdint>

namespace rtd::image {

struct VlcCode {
    uint8_t bits;
    uint8_t length;
};

// Code of each nibble value 0x0-0xF.
constexpr VlcCode kNibbleCodes[16] = {
    {0b1, 1},       {0b010, 3},      {0b0010, 4},     {0b00001000, 8},
    {0b0000110, 7}, {0b00001011, 8}, {0b00000101, 8}, {0b00011, 5},
    {0b0011, 4},    {0b0000111, 7},  {0b00001010, 8}, {0b00001001, 8},
    {0b00010, 5},   {0b00000111, 8}, {0b00000110, 8}, {0b011, 3},
};

// Yields no value; the next bit begins a new code.
constexpr VlcCode kFillerCode = {0b00000100, 8};

} // namespace rtd::image

#endif

// The packed-body decoder the shipped one is measured against: one bit per step, zeros
// counted in a wrapping 8-bit counter, and the bits after them matched against the code
// table as text. Slow and plain on purpose.
#ifndef RTD_TESTS_SUPPORT_VLCREFERENCE_H
#define RTD_TESTS_SUPPORT_VLCREFERENCE_H

#include <cstdint>
#include <string>
#include <vector>

namespace rtd::test {

// The code of every value 0x0-0xF and of the filler, in reading order.
extern const char* const kVlcCodeText[16];
extern const char* const kVlcFillerText;

// Same fields and calls as TVLCDecode.
class VlcReference {
public:
    int32_t Position = 0;
    int32_t Mask = 0;
    uint8_t Bit = 0;
    uint8_t CurrentByte = 0;
    const uint8_t* Body = nullptr;
    int32_t Length = 0;

    void SetInput(const uint8_t* body, int32_t length);
    std::vector<uint8_t> Decode(int32_t& count, int32_t maxBytes);

private:
    bool NextBit();
    uint8_t Nibble();
};

// A decode's bytes, count and the reading state it left.
struct VlcOutcome {
    std::vector<uint8_t> bytes;
    int32_t count = -1;
    int32_t position = 0;
    int32_t mask = 0;
    int bit = 0;
    int currentByte = 0;
};

VlcOutcome ReferenceOutcome(const uint8_t* body, int32_t length, int32_t maxBytes);
// The same through TVLCDecode.
VlcOutcome ShippedOutcome(const uint8_t* body, int32_t length, int32_t maxBytes);

// "" when both decoders give the same outcome, else the first difference, e.g.
// "byte 17: 3F, reference 30".
std::string DifferenceFromReference(const uint8_t* body, int32_t length, int32_t maxBytes);

} // namespace rtd::test

#endif

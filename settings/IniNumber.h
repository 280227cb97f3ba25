// Text-to-integer conversion used for integer and boolean ini values.
#ifndef RTD_SETTINGS_ININUMBER_H
#define RTD_SETTINGS_ININUMBER_H

#include <cstdint>
#include <optional>
#include <string>

namespace rtd {

// Leading spaces, an optional "+" or "-", then decimal digits, or hexadecimal digits
// (either case) after "$", "x" or "X". Nothing may follow the digits. Values outside
// 32 bits are not numbers. Hexadecimal takes the full 32-bit pattern ("$FFFFFFFF" is -1).
std::optional<int32_t> ParseInteger(const std::string& text);

// The value as an ini file stores it: "0x"/"0X" at the start of a text longer than two
// characters reads as "$"; anything that is not a number gives `fallback`.
int32_t IniTextToInteger(std::string text, int32_t fallback);

} // namespace rtd

#endif

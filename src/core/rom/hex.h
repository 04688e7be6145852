#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace velmar {

// Upper-case hexadecimal, left-padded with zeros to `width` digits and cut to its last `width`
// digits (hexPad(0x123, 2) == "23"). Width is 1..10; the value is taken as 32 bits.
std::string hexPad(std::int64_t value, int width);

// Upper-case hexadecimal without leading zeros ("0" for zero).
std::string hexText(std::int64_t value);

// Every typed number of the editor is read this way: the leading hexadecimal digits of the text
// count, the rest is ignored, and a text without any reads as 0 ("2c" -> 0x2C, "0x10" -> 0,
// "G5" -> 0). Saturates at UINT32_MAX so that overlong input still compares as "too large".
std::uint32_t parseHexPrefix(std::string_view text);

// The value of one hexadecimal digit (either case), or -1.
int hexDigitValue(char c);

// True when the text is exactly `digits` hexadecimal digits.
bool isHexDigits(std::string_view text, std::size_t digits);

}  // namespace velmar

#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/outcome.h"

namespace velmar {

// Upper-case hexadecimal, left-padded with zeros to `width` digits and cut to its last `width`
// digits (hexPad(0x123, 2) == "23"). Width is 1..10; the value is taken as 32 bits.
std::string hexPad(std::int64_t value, int width);

// Upper-case hexadecimal without leading zeros ("0" for zero).
std::string hexText(std::int64_t value);

// The leading hexadecimal digits of a text; the rest is ignored, and a text without any reads as 0
// ("2c" -> 0x2C, "0x10" -> 0, "G5" -> 0). Saturates at UINT32_MAX. For the program's own data
// files (name lists, character tables) and texts already checked; what a user types is read by
// readHexByte, which refuses what is not a number.
std::uint32_t parseHexPrefix(std::string_view text);

// How a typed byte was read.
enum class HexEntry {
    Ok = 0,
    NotHex = 1,      // not one or two hexadecimal digits: "ZZ", "7g", " 05", "0x5", "-1", "100", ""
    OutOfRange = 2,  // one or two digits, but above the largest value the field takes
};

struct [[nodiscard]] HexByte : Outcome<HexEntry> {
    std::uint8_t value = 0;  // only for Ok
};

// Every byte a user types, in a box, a prompt, a dialog or a command-line argument, is read this
// way: one or two hexadecimal digits of either case and nothing else, from 00 to `max`. Anything
// else is refused, and the reason says what the field wants: "Time takes two hexadecimal digits,
// 00 to FF."
HexByte readHexByte(std::string_view text, std::string_view field, std::uint8_t max = 0xFF);

// The value of one hexadecimal digit (either case), or -1.
int hexDigitValue(char c);

// True when the text is exactly `digits` hexadecimal digits.
bool isHexDigits(std::string_view text, std::size_t digits);

}  // namespace velmar

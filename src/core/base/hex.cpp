#include "base/hex.h"

#include <algorithm>
#include <limits>

namespace velmar {

namespace {

constexpr char kDigits[] = "0123456789ABCDEF";

}  // namespace

int hexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::string hexPad(std::int64_t value, int width)
{
    width = std::clamp(width, 1, 10);
    // Negative values show as their 32-bit two's complement, as the 32-bit fields they come from.
    auto v = static_cast<std::uint64_t>(static_cast<std::uint32_t>(value));
    std::string out(static_cast<std::size_t>(width), '0');
    for (int i = width - 1; i >= 0 && v != 0; --i) {
        out[static_cast<std::size_t>(i)] = kDigits[v & 0xF];
        v >>= 4;
    }
    return out;
}

std::string hexText(std::int64_t value)
{
    auto v = static_cast<std::uint32_t>(value);
    std::string out;
    do {
        out.insert(out.begin(), kDigits[v & 0xF]);
        v >>= 4;
    } while (v != 0);
    return out;
}

std::uint32_t parseHexPrefix(std::string_view text)
{
    std::uint64_t v = 0;
    for (char c : text) {
        const int d = hexDigitValue(c);
        if (d < 0)
            break;
        v = std::min<std::uint64_t>(v * 16 + static_cast<std::uint64_t>(d), std::numeric_limits<std::uint32_t>::max());
    }
    return static_cast<std::uint32_t>(v);
}

HexByte readHexByte(std::string_view text, std::string_view field, std::uint8_t max)
{
    HexByte out;
    if (!isHexDigits(text, 1) && !isHexDigits(text, 2))
        out.code = HexEntry::NotHex;
    else if (const std::uint32_t v = parseHexPrefix(text); v > max)
        out.code = HexEntry::OutOfRange;
    else
        out.value = static_cast<std::uint8_t>(v);
    if (!out.ok())
        out.reason = std::string(field) + " takes two hexadecimal digits, 00 to " + hexPad(max, 2) + ".";
    return out;
}

bool isHexDigits(std::string_view text, std::size_t digits)
{
    return text.size() == digits && std::all_of(text.begin(), text.end(), [](char c) { return hexDigitValue(c) >= 0; });
}

}  // namespace velmar

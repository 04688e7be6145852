#include <gtest/gtest.h>

#include "base/hex.h"

namespace velmar {
namespace {

TEST(Hex, ReadsLeadingDigitsOnly)
{
    const std::pair<const char*, std::uint32_t> cases[] = {
        {"2c", 0x2C},   {"0x10", 0},      {"G5", 0},
        {"", 0},        {"1A ", 0x1A},    {" 1A", 0},
        {"100", 0x100}, {"FFFF", 0xFFFF}, {"FFFFFFFFFFFF", 0xFFFFFFFF},
    };
    for (const auto& [text, value] : cases)
        EXPECT_EQ(parseHexPrefix(text), value) << text;
}

TEST(Hex, ATypedByteIsOneOrTwoDigitsInItsRange)
{
    const std::string time = "Time takes two hexadecimal digits, 00 to FF.";
    const std::string length = "New length takes two hexadecimal digits, 00 to 10.";
    const struct {
        const char* text;
        std::uint8_t max;
        HexEntry code;
        std::uint8_t value;
    } cases[] = {
        {"05", 0xFF, HexEntry::Ok, 0x05},   {"5", 0xFF, HexEntry::Ok, 0x05},     {"0a", 0xFF, HexEntry::Ok, 0x0A},
        {"fF", 0xFF, HexEntry::Ok, 0xFF},   {"10", 0x10, HexEntry::Ok, 0x10},    {"11", 0x10, HexEntry::OutOfRange, 0},
        {"ZZ", 0xFF, HexEntry::NotHex, 0},  {"7g", 0xFF, HexEntry::NotHex, 0},   {" 05", 0xFF, HexEntry::NotHex, 0},
        {"05 ", 0xFF, HexEntry::NotHex, 0}, {"G1", 0xFF, HexEntry::NotHex, 0},   {"0x5", 0xFF, HexEntry::NotHex, 0},
        {"-1", 0xFF, HexEntry::NotHex, 0},  {"100", 0xFF, HexEntry::NotHex, 0},  {"", 0xFF, HexEntry::NotHex, 0},
        {"+5", 0xFF, HexEntry::NotHex, 0},  {"1A\n", 0xFF, HexEntry::NotHex, 0},
    };
    for (const auto& c : cases) {
        const HexByte got = readHexByte(c.text, c.max == 0xFF ? "Time" : "New length", c.max);
        EXPECT_EQ(got.code, c.code) << c.text;
        EXPECT_EQ(got.value, c.value) << c.text;
        EXPECT_EQ(got.reason, got.ok() ? "" : c.max == 0xFF ? time : length) << c.text;
    }
}

}  // namespace
}  // namespace velmar

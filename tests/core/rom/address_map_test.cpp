#include <gtest/gtest.h>

#include "rom/address_map.h"
#include "base/hex.h"
#include "rom/rom_access.h"

namespace velmar {
namespace {

TEST(ReadPointer, ConvertsByBankAndFixedBank)
{
    struct Case {
        std::uint8_t lo, hi;
        RomOffset base;
        std::optional<std::int32_t> converted;
    };
    const Case cases[] = {
        {0x34, 0x92, 0x14000, 0x15234},  // bank 5 data
        {0x00, 0xC1, 0x14000, 0x1C100},  // the fixed bank, whatever the base
        {0x00, 0xC1, 0x08000, 0x1C100},      {0xFF, 0xBF, 0x08000, 0x0BFFF},
        {0x00, 0x80, 0x00000, 0x00000},      {0xFF, 0x7F, 0x08000, std::nullopt},  // below 0x8000 is not ROM
        {0x00, 0x00, 0x08000, std::nullopt},
    };
    for (const Case& c : cases) {
        const Bytes rom = {0xEE, c.lo, c.hi};
        EXPECT_EQ(readPointer(rom, 1, true, 0x3FFF, c.base), c.converted) << int(c.lo) << " " << int(c.hi);
        EXPECT_EQ(readPointer(rom, 1, false, 0x3FFF, c.base), c.lo | (c.hi << 8));
    }
    // An entry outside the image is refused.
    EXPECT_EQ(readPointer(Bytes{0x00, 0x80}, 1, false, 0x3FFF, 0), std::nullopt);
    EXPECT_EQ(readPointer(Bytes{0x00, 0x80}, -1, false, 0x3FFF, 0), std::nullopt);
}

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

TEST(RomAccess, ReaderFailsOnceAndStaysFailed)
{
    const Bytes rom = {0x10, 0x20, 0x00, 0x70};
    RomReader r(rom);
    EXPECT_EQ(r.word(0), 0x2010);
    EXPECT_EQ(r.byte(4), 0);
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(r.status().code, RomStatus::Code::OutsideImage);
    EXPECT_EQ(r.byte(0), 0) << "a failed reader yields 0";

    RomReader p(rom);
    EXPECT_EQ(p.pointer(2, 0x8000), 0);
    EXPECT_EQ(p.status().code, RomStatus::Code::BadPointer);
    EXPECT_EQ(p.status().message(), "Bad pointer $7000 at $00002.");
}

TEST(RomAccess, WriterAppliesAllOrNothing)
{
    Bytes rom(8, 0);
    RomWriter w(rom);
    w.byte(0, 1);
    w.word(6, 0x0302);
    w.bytes(8, std::vector<std::uint8_t>{9});  // one past the end
    EXPECT_FALSE(w.commit().ok());
    EXPECT_EQ(rom, Bytes(8, 0));

    w.byte(0, 1);
    w.fill(1, 2, 0xFF);
    w.byte(1, 7);  // later writes win
    w.word(6, 0x0302);
    EXPECT_TRUE(w.commit().ok());
    EXPECT_EQ(rom, (Bytes{1, 7, 0xFF, 0, 0, 0, 2, 3}));
}

}  // namespace
}  // namespace velmar

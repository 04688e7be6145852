#include <gtest/gtest.h>

#include "rom/address_map.h"
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

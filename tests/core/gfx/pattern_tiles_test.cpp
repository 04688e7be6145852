#include <gtest/gtest.h>

#include "gfx/pattern_tiles.h"
#include "rom/address_map.h"

namespace velmar {
namespace {

TEST(PatternTiles, PlaneAndBitOrder)
{
    Bytes rom(32, 0);
    rom[0] = 0x80;           // low plane, row 0, leftmost pixel
    rom[8] = 0x80;           // high plane, same pixel: value 3
    rom[16 + 7] = 0x01;      // tile 1: low plane, row 7, rightmost pixel: value 1
    rom[16 + 8 + 1] = 0x40;  // tile 1: high plane, row 1, column 1: value 2
    PixelArray px;
    ASSERT_TRUE(decodeTiles(rom, 0, 2, px).ok());
    ASSERT_EQ(px.size(), 128u);
    EXPECT_EQ(px[0], 3);
    EXPECT_EQ(std::count(px.begin(), px.begin() + 64, 0), 63);
    EXPECT_EQ(px[64 + 7 * 8 + 7], 1);
    EXPECT_EQ(px[64 + 1 * 8 + 1], 2);
}

TEST(PatternTiles, EncodeAfterDecodeIsIdentityAndMasksHighBits)
{
    Bytes rom(rommap::kImageSize);
    for (std::size_t i = 0; i < rom.size(); ++i)
        rom[i] = static_cast<std::uint8_t>((i * 2654435761u) >> 13);
    const Bytes before = rom;
    PixelArray px;
    for (int bank : {0, 17, 31}) {
        ASSERT_TRUE(loadChrBank(rom, px, bank).ok());
        ASSERT_TRUE(saveChrBank(rom, px, bank).ok());
    }
    EXPECT_EQ(rom, before);

    px.assign(64, 0);
    px[0] = 6;  // only bits 0-1 count: 6 is 2
    Bytes tile(16, 0xAA);
    ASSERT_TRUE(encodeTiles(tile, px, 1, 0).ok());
    EXPECT_EQ(tile[0], 0x00);
    EXPECT_EQ(tile[8], 0x80);
}

TEST(PatternTiles, BanksOutsideTheImageFailWithoutWriting)
{
    Bytes rom(rommap::kImageSize, 0);
    PixelArray px(256 * 64, 1);
    PixelArray kept = px;
    EXPECT_FALSE(loadChrBank(rom, px, 32).ok());
    EXPECT_EQ(px, kept);
    EXPECT_FALSE(saveChrBank(rom, px, 32).ok());
    EXPECT_FALSE(saveChrBank(rom, PixelArray(10), 0).ok()) << "too few pixels";
    EXPECT_EQ(rom, Bytes(rommap::kImageSize, 0));
}

}  // namespace
}  // namespace velmar

#include <gtest/gtest.h>

#include <array>

#include "gfx/metatile_render.h"
#include "support/test_support.h"

namespace velmar {
namespace {

// Tile t is filled with the value t % 4; subtile s uses tiles s, s, s, s.
struct Tables {
    PixelArray pixels = PixelArray(256 * 64);
    MetatileTables defs;
    Tables()
    {
        for (int t = 0; t < 256; ++t)
            std::fill_n(pixels.begin() + t * 64, 64, static_cast<std::uint8_t>(t % 4));
        for (int s = 0; s < 256; ++s)
            defs.subtileDefs[static_cast<std::size_t>(s)].fill(static_cast<std::uint8_t>(s));
    }
};

ScreenColour colour(int paletteIndex) { return nesRgbTable()[static_cast<std::size_t>(paletteIndex)]; }

TEST(Metatiles, QuadrantPalettesFollowTheAttributeLayout)
{
    EXPECT_EQ(quadrantPalette(1, 0x30), 3);
    EXPECT_EQ(quadrantPalette(2, 0x30), 0);
    EXPECT_EQ(quadrantPalette(5, 0x30), 3) << "only the low two bits of the quarter count";
    EXPECT_EQ(setQuadrantPalette(3, 0x00, 2), 0x80) << "bottom right is bits 6-7";
    for (int q = 0; q < 4; ++q) {
        for (int p = 0; p < 4; ++p) {
            const std::uint8_t a = setQuadrantPalette(q, 0xE4, p);
            for (int other = 0; other < 4; ++other)
                EXPECT_EQ(quadrantPalette(other, a), other == q ? p : quadrantPalette(other, 0xE4)) << q << p << other;
        }
    }

    Tables t;
    t.defs.metatileDefs[7] = {0xE4, 1, 1, 1, 1};  // every quarter subtile 1 (value 1)
    const auto pal = test::countingPalette(0);
    Bitmap s(32, 32, 0);
    drawMetatile(s, t.pixels, t.defs, 7, pal, 1);
    // Top left, bottom left, top right, bottom right: sub-palettes 0, 2, 1, 3.
    EXPECT_EQ(s.pixel(0, 0), colour(0 * 4 + 1));
    EXPECT_EQ(s.pixel(0, 16), colour(2 * 4 + 1));
    EXPECT_EQ(s.pixel(16, 0), colour(1 * 4 + 1));
    EXPECT_EQ(s.pixel(31, 31), colour(3 * 4 + 1));
}

TEST(Metatiles, SheetPositionsAndAnEnlargedSubtile)
{
    Tables t;
    t.defs.metatileDefs[0x23] = {0, 3, 3, 3, 3};
    t.defs.metatileDefs[16] = {0, 2, 2, 2, 2};
    const auto pal = test::countingPalette(0);
    Bitmap sheet(kSheetSize, kSheetSize, 0);
    drawMetatileSheet(sheet, t.defs, t.pixels, 0, 255, pal);
    EXPECT_EQ(sheet.pixel(96, 64), colour(3));
    EXPECT_EQ(sheet.pixel(127, 95), colour(3));
    EXPECT_EQ(sheet.pixel(95, 64), colour(0));
    EXPECT_EQ(sheet.pixel(0, 32), colour(2)) << "metatile 16 starts row 1";

    // The grid counts from the first metatile drawn.
    drawMetatileSheet(sheet, t.defs, t.pixels, 16, 15, pal);
    EXPECT_EQ(sheet.pixel(0, 0), colour(2));
    EXPECT_EQ(sheet.pixel(96, 64), sheet.backColour()) << "only one row drawn";

    // A subtile in one sub-palette, enlarged.
    t.defs.subtileDefs[9] = {1, 2, 3, 0};
    Bitmap s(64, 64, 0);
    drawSubtile(s, t.pixels, t.defs, 9, pal, 2, 4);
    EXPECT_EQ(s.pixel(0, 0), colour(8 + 1));   // top left: tile 1
    EXPECT_EQ(s.pixel(0, 63), colour(8 + 2));  // bottom left: tile 2
    EXPECT_EQ(s.pixel(63, 0), colour(8 + 3));  // top right: tile 3
    EXPECT_EQ(s.pixel(63, 63), colour(8 + 0));
}

TEST(Metatiles, MapCopiesBlocksFromTheSheet)
{
    Bitmap sheet(kSheetSize, kSheetSize, 0);
    for (int y = 0; y < kSheetSize; ++y)
        for (int x = 0; x < kSheetSize; ++x)
            sheet.setPixel(x, y, static_cast<ScreenColour>(y * kSheetSize + x));
    SceneRecord scene;
    scene.length = 2;
    scene.map.assign(3 * 48, 0);
    scene.map[48 * 2 + 6 * 3 + 4] = 0x5A;
    scene.map[5] = 0x11;  // row 5 of column 0
    Bitmap map;
    renderMap(map, sheet, scene);
    ASSERT_EQ(map.width(), 768);
    ASSERT_EQ(map.height(), 176);
    EXPECT_EQ(map.pixel(608, 128), sheet.pixel(320, 160));
    EXPECT_EQ(map.pixel(639, 159), sheet.pixel(351, 191));
    EXPECT_EQ(map.pixel(0, 160), sheet.pixel(32, 32));
    EXPECT_EQ(map.pixel(0, 175), sheet.pixel(32, 47)) << "row 5 shows its top 16 pixel rows";

    scene.length = 0;
    scene.map.resize(10);  // a short map: the missing cells stay clear
    renderMap(map, sheet, scene);
    EXPECT_EQ(map.width(), 256);
    EXPECT_EQ(map.pixel(0, 0), sheet.pixel(0, 0));
    EXPECT_EQ(map.pixel(64, 0), map.backColour());
}

}  // namespace
}  // namespace velmar

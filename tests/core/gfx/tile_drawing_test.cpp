#include <gtest/gtest.h>

#include <array>

#include "gfx/tile_drawing.h"
#include "support/test_support.h"

namespace velmar {
namespace {

// A tile whose pixel (x, y) has value (x + y) % 4, and whose (0, 0) is 3: every position differs
// from its mirror images.
PixelArray testTiles()
{
    PixelArray px(256 * 64, 0);
    for (int t = 0; t < 256; ++t)
        for (int i = 0; i < 64; ++i)
            px[static_cast<std::size_t>(t * 64 + i)] = static_cast<std::uint8_t>((i % 8 + i / 8 + t) % 4);
    return px;
}

TEST(Bitmap, CopiesWithRasterOpsAndClipping)
{
    Bitmap src(4, 4, 0);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            src.setPixel(x, y, static_cast<ScreenColour>(0x10 * y + x));
    Bitmap dst(4, 4, 0x0F0F0F);
    dst.clear();
    blit(dst, 2, 2, 4, 4, src, 0, 0);  // clipped at the right and bottom
    EXPECT_EQ(dst.pixel(2, 2), 0x00u);
    EXPECT_EQ(dst.pixel(3, 3), 0x11u);
    EXPECT_EQ(dst.pixel(1, 1), 0x0F0F0Fu);
    blit(dst, 0, 0, 2, 1, src, 2, 3, RasterOp::And);  // 0x32, 0x33 AND 0x0F0F0F
    EXPECT_EQ(dst.pixel(0, 0), 0x02u);
    blit(dst, 0, 0, 1, 1, src, 1, 1, RasterOp::Or);
    EXPECT_EQ(dst.pixel(0, 0), 0x13u);
    blit(dst, 0, 0, 1, 1, src, -5, 0);  // outside the source reads black
    EXPECT_EQ(dst.pixel(0, 0), 0u);
}

TEST(TileDrawing, DrawsEveryPixelInItsSubPalette)
{
    const PixelArray px = testTiles();
    const auto pal = test::countingPalette(0x10);
    Bitmap s(16, 16, 0xABCDEF);
    EXPECT_EQ(drawTile(px, 1, s, 4, 4, pal, 2), DrawResult::Ok);
    // Tile 1 pixel (0, 0) has value 1: palette[2 * 4 + 1].
    EXPECT_EQ(s.pixel(4, 4), nesRgbTable()[pal[9]]);
    EXPECT_EQ(s.pixel(11, 11), nesRgbTable()[pal[8 + (7 + 7 + 1) % 4]]);
    EXPECT_EQ(s.pixel(3, 4), 0xABCDEFu);

    const Bitmap before = s;
    EXPECT_EQ(drawTile(px, 1, s, 0, 0, std::span(pal).first(16), 0), DrawResult::ShortPalette);
    EXPECT_EQ(s, before);

    PixelArray tiny(1, 3);  // a pixel array shorter than the tile: missing pixels draw as value 0
    EXPECT_EQ(drawTile(tiny, 0, s, 0, 0, pal, 0), DrawResult::Ok);
    EXPECT_EQ(s.pixel(0, 0), nesRgbTable()[pal[3]]);
    EXPECT_EQ(s.pixel(1, 0), nesRgbTable()[pal[0]]);
}

TEST(TileDrawing, SpriteTileKeysValueZeroAndMirrors)
{
    PixelArray px(64, 0);
    px[0] = 1;  // only (0, 0) is set
    auto pal = test::countingPalette(0x10);
    const auto palBefore = pal;
    Bitmap s(8, 8, 0);
    EXPECT_EQ(drawSpriteTile(px, 0, s, 0, 0, 0x43, pal), DrawResult::Ok);
    EXPECT_EQ(s.pixel(7, 0), nesRgbTable()[pal[28 + 1]]) << "sub-palette 7, mirrored left-right";
    EXPECT_EQ(s.pixel(0, 0), kKeyColour);
    EXPECT_EQ(pal, palBefore);

    struct Case {
        int attributes;
        int x, y;
    };
    for (const Case c : {Case{0x00, 0, 0}, Case{0x80, 0, 7}, Case{0xC0, 7, 7}, Case{0x3C, 0, 0}}) {
        s.clear();
        EXPECT_EQ(drawSpriteTile(px, 0, s, 0, 0, c.attributes, pal), DrawResult::Ok);
        EXPECT_NE(s.pixel(c.x, c.y), kKeyColour) << c.attributes;
    }
}

}  // namespace
}  // namespace velmar

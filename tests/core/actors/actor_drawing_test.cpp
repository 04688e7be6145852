#include <gtest/gtest.h>

#include <array>
#include <tuple>

#include "actors/actor_drawing.h"
#include "support/test_support.h"

namespace velmar {
namespace {

// Sprite tile t is filled with value (t % 3) + 1, so no pixel is transparent; tile 0x40 is empty.
struct Canvas {
    PixelArray spr = PixelArray(256 * 64);
    PixelArray bkg = PixelArray(256 * 64);
    std::array<std::uint8_t, 32> palette = test::countingPalette(0);
    Bitmap map = Bitmap(1024, 176, 0);
    Canvas()
    {
        for (int t = 0; t < 256; ++t) {
            std::fill_n(spr.begin() + t * 64, 64, static_cast<std::uint8_t>(t % 3 + 1));
            std::fill_n(bkg.begin() + t * 64, 64, static_cast<std::uint8_t>(3 - t % 3));
        }
        std::fill_n(spr.begin() + 0x40 * 64, 128, std::uint8_t{0});
        for (int y = 0; y < map.height(); ++y)
            for (int x = 0; x < map.width(); ++x)
                map.setPixel(x, y, rgb(x & 0xFE, y & 0xFF, 0x40));
    }
    ActorCanvas view() const { return {spr, bkg, palette, map}; }
    ScreenColour sprite(int subPalette, int value) const
    {
        return nesRgbTable()[palette[static_cast<std::size_t>(16 + 4 * subPalette + value)]];
    }
};

SpriteFrame frameOf(std::initializer_list<FrameTile> tiles, std::initializer_list<std::uint8_t> attributes)
{
    SpriteFrame f;
    f.tiles = tiles;
    f.attributes = attributes;
    f.tileCount = static_cast<std::uint8_t>(f.tiles.size());
    return f;
}

TEST(ActorDrawing, FramesDrawFromTheirBanksAroundTheAnchorOnTheMap)
{
    const Canvas c;
    SpriteFrame one = frameOf({{0, 0, 0x10}}, {0});
    ActorPicture p = drawActor(one, c.view(), 100, 50, true);
    EXPECT_EQ(std::tuple(one.width, one.height, p.left, p.top), std::tuple(8, 16, 100, 50));
    EXPECT_EQ(p.image.pixel(0, 0), c.sprite(0, 0x10 % 3 + 1)) << "upper half: tile 0x10";
    EXPECT_EQ(p.image.pixel(0, 8), c.sprite(0, 0x11 % 3 + 1)) << "lower half: tile 0x11";

    SpriteFrame two = frameOf({{0xF8, 0, 0x10}, {0, 0, 0x12}}, {0, 1});
    p = drawActor(two, c.view(), 100, 50, true);
    EXPECT_EQ(two.width, 16) << "the box starts 8 pixels left of the anchor";
    EXPECT_EQ(p.image.pixel(8, 0), c.sprite(1, 0x12 % 3 + 1));

    // Odd tiles come from the background bank; mirrored top to bottom, tile 0x21 is on top.
    SpriteFrame odd = frameOf({{0, 0, 0x21}}, {0x80});
    p = drawActor(odd, c.view(), 0, 0, true);
    EXPECT_EQ(p.image.pixel(0, 0), c.sprite(0, 3 - 0x21 % 3));
    EXPECT_EQ(p.image.pixel(0, 15), c.sprite(0, 3 - 0x20 % 3));

    // Transparent pixels show the map, with the key bit.
    SpriteFrame clear = frameOf({{0, 0, 0x40}, {8, 0, 0x10}}, {0, 0});
    p = drawActor(clear, c.view(), 200, 60, true);
    EXPECT_EQ(p.image.pixel(3, 5), c.map.pixel(203, 65) | kKeyColour);
    EXPECT_EQ(p.image.pixel(8, 0), c.sprite(0, 0x10 % 3 + 1));

    // Placed on the map: a 16 x 32 frame: two sprites side by side, each 8 x 16, stacked twice.
    SpriteFrame big = frameOf({{0, 0, 0}, {8, 0, 2}, {0, 16, 4}, {8, 16, 6}}, {0, 0, 0, 0});
    p = drawActor(big, c.view(), 0x10, 0xA3, false);
    EXPECT_EQ(std::tuple(p.width(), p.height(), p.left, p.top), std::tuple(16, 32, 304, 106 - 32));

    SpriteFrame small = frameOf({{0, 0, 0}}, {0});
    p = drawActor(small, c.view(), 0x05, 0x00, false);
    EXPECT_EQ(p.left, 80);
    EXPECT_EQ(p.top + p.height(), 202) << "row 0 stands below the map";
    EXPECT_EQ(actorBottomY(0x30), 250) << "row 3 would stand above the map: it wraps";

    SpriteFrame empty;
    p = drawActor(empty, c.view(), 2, 0x40, false);
    EXPECT_TRUE(p.placeholder);
    EXPECT_EQ(std::tuple(p.width(), p.left, empty.width), std::tuple(16, 32, 16));
}

}  // namespace
}  // namespace velmar

#include <gtest/gtest.h>

#include "sample/sample_canvas.h"

namespace velmar::sample {
namespace {

// Marks each 8x8 quarter of a 16x16 canvas with its own value at its top-left pixel.
Canvas markedQuarters()
{
    Canvas c(16, 16);
    c.set(0, 0, 1);   // top left
    c.set(8, 0, 2);   // top right
    c.set(0, 8, 3);   // bottom left
    c.set(8, 8, 1);
    c.set(9, 8, 1);   // bottom right: two pixels
    return c;
}

int pixel(const PixelArray& bank, int tile, int x, int y)
{
    return bank[static_cast<std::size_t>(tile * 64 + y * 8 + x)];
}

// A subtile lists its tiles column by column: top left, bottom left, top right, bottom right.
TEST(SampleCanvas, BlocksAndSpriteStripsKeepTheTileOrder)
{
    PixelArray bank = blankBank();
    putBlock(bank, 0x10, markedQuarters(), 0, 0);
    EXPECT_EQ(pixel(bank, 0x10, 0, 0), 1);
    EXPECT_EQ(pixel(bank, 0x11, 0, 0), 3);
    EXPECT_EQ(pixel(bank, 0x12, 0, 0), 2);
    EXPECT_EQ(pixel(bank, 0x13, 1, 0), 1);

    // An 8x16 sprite: the even tile above, the odd one below.
    putSpriteStrip(bank, 0x20, markedQuarters(), 0, 0);
    EXPECT_EQ(pixel(bank, 0x20, 0, 0), 1);
    EXPECT_EQ(pixel(bank, 0x21, 0, 0), 3);
}

TEST(SampleCanvas, StringArt)
{
    Canvas c(4, 2);
    c.fillAll(2);
    c.plot(0, 0, {"#.o0", "+"});
    EXPECT_EQ(c.at(0, 0), 1);
    EXPECT_EQ(c.at(1, 0), 2) << "'.' leaves the pixel";
    EXPECT_EQ(c.at(2, 0), 3);
    EXPECT_EQ(c.at(3, 0), 0) << "'0' clears it";
    EXPECT_EQ(c.at(0, 1), 2);

    Canvas m(4, 1);
    m.plotMirrored(0, 0, {"#+o."});
    EXPECT_EQ(m.at(0, 0), 0);
    EXPECT_EQ(m.at(1, 0), 3);
    EXPECT_EQ(m.at(3, 0), 1);

    // Shapes may run over the edge without harm.
    m.plot(2, 0, {"####"});
    m.set(-1, 5, 3);
    EXPECT_EQ(m.at(3, 0), 1);
}

TEST(SampleCanvas, RandomIsFixedBySeed)
{
    SampleRandom a(7);
    SampleRandom b(7);
    SampleRandom c(8);
    bool differs = false;
    for (int i = 0; i < 20; ++i) {
        const std::uint32_t x = a.next();
        EXPECT_EQ(x, b.next());
        differs = differs || x != c.next();
        const int r = a.between(3, 5);
        b.between(3, 5);
        EXPECT_GE(r, 3);
        EXPECT_LE(r, 5);
    }
    EXPECT_TRUE(differs);
}

}  // namespace
}  // namespace velmar::sample

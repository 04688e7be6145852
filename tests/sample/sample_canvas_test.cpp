#include <gtest/gtest.h>

#include "sample/sample_canvas.h"

namespace velmar::sample {
namespace {

// The sample's blocks and sprites are cut from pictures in the order the game draws them: a
// subtile lists its tiles column by column (top left, bottom left, top right, bottom right), an
// 8x16 sprite has its even tile above the odd one. Another order would scramble every picture.
TEST(SampleCanvas, BlocksAndSpriteStripsKeepTheTileOrder)
{
    Canvas c(16, 16);
    c.set(0, 0, 1);  // top left
    c.set(0, 8, 2);  // bottom left
    c.set(8, 0, 3);  // top right
    c.set(9, 9, 1);  // bottom right, one pixel in
    PixelArray bank = blankBank();
    putBlock(bank, 0x10, c, 0, 0);
    putSpriteStrip(bank, 0x20, c, 0, 0);
    const int want[][4] = {{0x10, 0, 0, 1}, {0x11, 0, 0, 2}, {0x12, 0, 0, 3},
                           {0x13, 1, 1, 1}, {0x20, 0, 0, 1}, {0x21, 0, 0, 2}};
    for (const auto& [tile, x, y, value] : want)
        EXPECT_EQ(bank[static_cast<std::size_t>(tile * 64 + y * 8 + x)], value) << "tile " << tile;
}

}  // namespace
}  // namespace velmar::sample

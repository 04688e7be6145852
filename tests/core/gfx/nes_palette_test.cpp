#include <gtest/gtest.h>

#include <algorithm>

#include "gfx/nes_palette.h"

namespace velmar {
namespace {

TEST(NesPalette, EmphasisRoundsHalfToEvenAndClamps)
{
    struct Case {
        int index;
        bool mono;
        int emphasis;
        int r, g, b;
    };
    const Case cases[] = {
        {0x0D, false, 0, 0, 0, 0},
        {0x0F, false, 0, 5, 5, 5},
        {0x00, false, 1, 128, 102, 104},    // 102.4 and 103.68
        {0x20, false, 4, 209, 212, 255},    // blue 285.6 clamps
        {0x16, true, 5, 0xC7, 0xC7, 0xC7},  // monochrome ignores emphasis
        {0x3A, true, 0, 0xFF, 0xFF, 0xFF},
        {0x00, false, 9, 128, 102, 104},  // only the low three bits count
        {0x40, false, 0, 0, 0, 0},
        {200, false, 3, 0, 0, 0},
        {-1, false, 0, 0, 0, 0},
        // 004166 x 0.70: green 45.5 -> 46 (even), blue 71.4 -> 71.
        {0x0C, false, 7, 0, 46, 71},
        // 0x30 = FFFFFF with emphasis 2: 255 * 0.78 = 198.9, * 0.94 = 239.7, * 0.66 = 168.3.
        {0x30, false, 2, 199, 240, 168},
        // Exact halves in double precision go to the even neighbour: 150 x 0.63 = 94.5,
        // 150 x 0.87 = 130.5, 5 x 0.70 = 3.5.
        {0x03, false, 3, 54, 0, 94},
        {0x03, false, 5, 55, 0, 130},
        {0x0E, false, 7, 4, 4, 4},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(nesColorToRgb(c.index, c.mono, c.emphasis), rgb(c.r, c.g, c.b)) << c.index << "/" << c.emphasis;
    }
}

TEST(NesPalette, TableAndKeyColour)
{
    const NesRgbTable& t = nesRgbTable();
    EXPECT_EQ(t[64], 0x000001u);
    EXPECT_EQ(std::count(t.begin(), t.begin() + 64, t[64]), 0);
    EXPECT_EQ(t[0x20], 0xFFFFFFu);
    EXPECT_EQ(t[0x01], rgb(0x00, 0x3D, 0xA6));
    EXPECT_EQ(paletteByteColour(64), kKeyColour);
    EXPECT_EQ(paletteByteColour(0x41), t[0x01]) << "above 64 only the low six bits count";
    EXPECT_EQ(paletteByteColour(0xFF), t[0x3F]);
}

}  // namespace
}  // namespace velmar

#include <gtest/gtest.h>

#include "gfx/tile_ops.h"

namespace velmar {
namespace {

// Where the single set pixel of a tile is, as (row, column).
std::pair<int, int> setPixel(const PixelArray& px)
{
    for (int i = 0; i < 64; ++i)
        if (px[static_cast<std::size_t>(64 + i)] != 0)
            return {i / 8, i % 8};
    return {-1, -1};
}

TEST(TileOps, SinglePixelMoves)
{
    struct Case {
        const char* what;
        int row, column;
        void (*op)(PixelArray&);
        int wantRow, wantColumn;
    };
    const Case cases[] = {
        {"shift left", 0, 0, [](PixelArray& p) { shiftTile(p, 1, 1, 0); }, 0, 7},
        {"shift right", 0, 7, [](PixelArray& p) { shiftTile(p, 1, -1, 0); }, 0, 0},
        {"shift down", 0, 0, [](PixelArray& p) { shiftTile(p, 1, 0, -1); }, 1, 0},
        {"shift up", 0, 0, [](PixelArray& p) { shiftTile(p, 1, 0, 1); }, 7, 0},
        {"flip V axis", 0, 0, [](PixelArray& p) { flipTile(p, 1, true, false); }, 0, 7},
        {"flip H axis", 0, 0, [](PixelArray& p) { flipTile(p, 1, false, true); }, 7, 0},
        {"flip both", 0, 0, [](PixelArray& p) { flipTile(p, 1, true, true); }, 7, 7},
        {"rotate top left", 0, 0, [](PixelArray& p) { rotateTile(p, 1); }, 7, 0},
        {"rotate top right", 0, 7, [](PixelArray& p) { rotateTile(p, 1); }, 0, 0},
        {"rotate inner", 2, 5, [](PixelArray& p) { rotateTile(p, 1); }, 2, 2},
    };
    for (const Case& c : cases) {
        PixelArray px(3 * 64, 0);
        px[static_cast<std::size_t>(64 + c.row * 8 + c.column)] = 2;
        c.op(px);
        EXPECT_EQ(setPixel(px), std::make_pair(c.wantRow, c.wantColumn)) << c.what;
        EXPECT_EQ(std::count(px.begin(), px.end(), 2), 1) << c.what << ": other tiles untouched";
    }
}

TEST(TileOps, FullCyclesGiveBackTheTile)
{
    PixelArray px(64);
    for (int i = 0; i < 64; ++i)
        px[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>((i * 7 + i / 5) % 4);
    const PixelArray original = px;
    for (int i = 0; i < 8; ++i)
        shiftTile(px, 0, 1, 0);
    EXPECT_EQ(px, original);
    for (int i = 0; i < 4; ++i)
        rotateTile(px, 0);
    EXPECT_EQ(px, original);
    shiftTile(px, 0, 3, -2);
    shiftTile(px, 0, -3, 2);
    EXPECT_EQ(px, original);
    PixelArray shortArray(10, 1);
    rotateTile(shortArray, 0);  // a tile missing from the array is left alone
    EXPECT_EQ(shortArray, PixelArray(10, 1));
}

}  // namespace
}  // namespace velmar

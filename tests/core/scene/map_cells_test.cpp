#include <gtest/gtest.h>

#include "scene/map_cells.h"

namespace velmar {
namespace {

// A two-screen map whose cell (column c, row r) holds c * 6 + r, the order the map stores them.
SceneRecord twoScreens()
{
    SceneRecord s;
    s.length = 1;
    s.map.resize(96);
    for (std::size_t i = 0; i < s.map.size(); ++i)
        s.map[i] = static_cast<std::uint8_t>(i);
    return s;
}

TEST(MapCells, RectanglesAreClippedToTheMap)
{
    const SceneRecord s = twoScreens();
    EXPECT_EQ(clipToMap({14, 4, 5, 5}, s), (CellRect{14, 4, 2, 2})) << "16 columns, 6 rows";
    EXPECT_TRUE(clipToMap({-3, 0, 3, 6}, s).empty());
    EXPECT_EQ(metatileAt(s, {9, 2}), 9 * 6 + 2) << "column 9 is column 1 of screen 1";
    EXPECT_EQ(metatileAt(s, {16, 0}), std::nullopt);

    // A block copied across the screen boundary comes back row by row.
    const MapBlock b = copyBlock(s, {7, 0, 2, 2});
    EXPECT_EQ(b.cells, (Bytes{42, 48, 43, 49}));
    SceneRecord t = twoScreens();
    ASSERT_TRUE(pasteBlock(t, {15, 5}, b)) << "one cell of it lands inside";
    EXPECT_EQ(t.map[15 * 6 + 5], 42);
    EXPECT_EQ(t.map.size(), 96u);
    EXPECT_FALSE(pasteBlock(t, {16, 0}, b));
    EXPECT_FALSE(fillCells(t, {0, 6, 4, 1}, 0xFF));
}

}  // namespace
}  // namespace velmar

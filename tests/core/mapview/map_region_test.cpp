#include <gtest/gtest.h>

#include "mapview/map_region.h"

namespace velmar {
namespace {

TEST(MapRegion, SpansAndTheKeyboardsCursorStayOnTheMap)
{
    SceneRecord s;
    s.length = 1;  // 16 columns, 6 rows
    s.map.resize(96);
    EXPECT_EQ(spanCells({9, 4}, {7, 1}), (CellRect{7, 1, 3, 4}));
    EXPECT_EQ(stepCell(s, {15, 5}, 1, 1), (MapCell{15, 5}));
    EXPECT_EQ(stepCell(s, {0, 0}, -8, -1), (MapCell{0, 0}));
    EXPECT_EQ(stepCell(s, {4, 2}, 8, 1), (MapCell{12, 3}));
    EXPECT_EQ(stepCell(s, {40, 9}, 0, 0), (MapCell{15, 5})) << "a cell outside comes back in";
}

}  // namespace
}  // namespace velmar
